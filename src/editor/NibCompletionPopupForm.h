#pragma once
// The completion popup's top-level window: frameless, on top, never active, with a drawn frame that
// the user can drag to resize a list; it hosts the popup control and, while a list shows, takes the
// keys typed in the window it was opened from.
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include "editor/NibCompletionPopup.h"

class ControlHostWidget;

class TNibCompletionPopupForm : public QWidget, public TNibPopupWindow {
public:
    /// The popup must outlive the window.
    explicit TNibCompletionPopupForm(TNibBaseCompletionProposalForm& Popup, QWidget* parent = nullptr);
    ~TNibCompletionPopupForm() override;

    void ShowPopup(bool TakeKeys) override;
    void HidePopup() override;
    TRect PopupBounds() const override;
    void SetPopupBounds(const TRect& Bounds) override;
    int FrameThickness() const override;
    int ScrollBarWidth() const override;
    void RecreateWindow() override;

    ControlHostWidget* Host() const { return fHost; }

protected:
    /// While a list shows: keys typed elsewhere go to the list; a click elsewhere hides it.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    /// The frame edges under a point: bits of Qt::Edge.
    Qt::Edges EdgesAt(const QPoint& pos) const;
    void StopTakingKeys();

    TNibBaseCompletionProposalForm& fPopup;
    ControlHostWidget* fHost;
    Qt::Edges fResizing;
    QPoint fPressGlobal;
    QRect fPressGeometry;
    bool fTakesKeys = false;
    /// The window that had the keys when the list opened; the list hides when another one gets them.
    QPointer<QWindow> fKeysFrom;
};
