#pragma once
// Shows a Control in a Qt widget: painting, input, focus, capture, cursor, caret, scroll bars and
// the frame around them.
#include <QFrame>
#include "platform/Control.h"

class QLabel;
class QScrollBar;
class ControlSurface;

class ControlHostWidget : public QFrame, public ControlHost {
public:
    /// The control must outlive the widget.
    explicit ControlHostWidget(Control& control, QWidget* parent = nullptr);
    ~ControlHostWidget() override;

    Control& HostedControl() const { return fControl; }
    /// The widget that paints the control and takes its input.
    QWidget* Surface() const;

    void InvalidateRect(const TRect& r) override;
    void ScrollRect(const TRect& r, int dx, int dy) override;
    void ScrollInfoChanged(TScrollBarKind kind, const TScrollInfo& info) override;
    void SetCapture(bool capture) override;
    void SetCursorShape(TCursorShape shape) override;
    void SetFocus() override;
    void CaretChanged(bool visible, const TRect& caret) override;
    void Beep() override;
    void RequestClientSize(int width, int height) override;
    std::optional<TPoint> PointerPosition() const override;
    void PaintOutsidePaint(const std::function<void(Canvas&)>& paint) override;
    TSize HintSize(const UnicodeString& text, int maxWidth) const override;
    void ShowHint(const UnicodeString& text, TColor color, const TRect& rect) override;
    void HideHint() override;
    void BorderChanged() override;
    /// The hint window, once one was shown.
    QLabel* HintWindow() const { return fHint; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ScrollAction(TScrollBarKind kind, int action);
    void SyncBar(TScrollBarKind kind);
    /// Lays the bars over the surface's right and bottom edges, for controls that want them inside.
    void PlaceBarsInside();
    QScrollBar* Bar(TScrollBarKind kind) const;

    Control& fControl;
    ControlSurface* fSurface;
    QScrollBar* fHorz;
    QScrollBar* fVert;
    /// Made on first use: a tool-tip window, so that no window manager decorates or focuses it.
    mutable QLabel* fHint = nullptr;
    /// Sets the hint's text, breaking it to lines no wider than maxWidth.
    void PrepareHint(const UnicodeString& text, int maxWidth) const;
};
