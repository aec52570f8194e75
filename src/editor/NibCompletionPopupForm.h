#pragma once
// The completion popup's top-level window: frameless, on top, with a drawn frame that the user can
// drag to resize a list; it hosts the popup control and reports when it gains or loses activation.
#include <QWidget>
#include "editor/NibCompletionPopup.h"

class ControlHostWidget;

class TNibCompletionPopupForm : public QWidget, public TNibPopupWindow {
public:
    /// The popup must outlive the window.
    explicit TNibCompletionPopupForm(TNibBaseCompletionProposalForm& Popup, QWidget* parent = nullptr);
    ~TNibCompletionPopupForm() override;

    void ShowPopup(bool Activate) override;
    void HidePopup() override;
    TRect PopupBounds() const override;
    void SetPopupBounds(const TRect& Bounds) override;
    int FrameThickness() const override;
    int ScrollBarWidth() const override;
    void RecreateWindow() override;

    ControlHostWidget* Host() const { return fHost; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    /// The frame edges under a point: bits of Qt::Edge.
    Qt::Edges EdgesAt(const QPoint& pos) const;

    TNibBaseCompletionProposalForm& fPopup;
    ControlHostWidget* fHost;
    Qt::Edges fResizing;
    QPoint fPressGlobal;
    QRect fPressGeometry;
};
