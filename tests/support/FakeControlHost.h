#pragma once
// A ControlHost that records what a control asks of it: repaints, pixel scrolls, scroll bars, the
// caret and the cursor.
#include <vector>
#include "platform/Control.h"
#include "support/RecordingCanvas.h"

class FakeControlHost : public ControlHost {
public:
    /// Hosts the control: a window present, the given client size and, when asked, the focus.
    FakeControlHost(Control& control, int clientWidth, int clientHeight, bool focused = true);
    ~FakeControlHost() override;

    void InvalidateRect(const TRect& r) override { Invalidated.push_back(r); }
    void ScrollInfoChanged(TScrollBarKind kind, const TScrollInfo& info) override;
    void SetCapture(bool capture) override {}
    void SetCursorShape(TCursorShape shape) override { Cursor = shape; }
    void SetFocus() override { fControl.FocusChanged(true); }
    void CaretChanged(bool visible, const TRect& caret) override;
    void Beep() override { ++Beeps; }
    void ScrollRect(const TRect& r, int dx, int dy) override { Scrolled.push_back({r, dx, dy}); }
    /// Gives the control the asked size, as a window that no layout holds does.
    void RequestClientSize(int width, int height) override { fControl.SetBounds(0, 0, width, height); }
    std::optional<TPoint> PointerPosition() const override { return Pointer; }
    void PaintOutsidePaint(const std::function<void(Canvas&)>& paint) override { paint(OutsidePaint); }
    /// One line of 8-pixel characters with 3 pixels around.
    TSize HintSize(const UnicodeString& text, int maxWidth) const override { return {int(text.size()) * 8 + 6, 22}; }
    void ShowHint(const UnicodeString& text, TColor color, const TRect& rect) override
    {
        HintText = text;
        HintColor = color;
        HintRect = rect;
        HintShown = true;
    }
    void HideHint() override { HintShown = false; }

    /// Forgets what was recorded so far.
    void Reset();

    struct Scroll {
        TRect Rect;
        int Dx = 0;
        int Dy = 0;
    };
    std::vector<TRect> Invalidated;
    std::vector<Scroll> Scrolled;
    TScrollInfo Horz;
    TScrollInfo Vert;
    bool CaretShown = false;
    TRect Caret;
    int Beeps = 0;
    /// The cursor shown over the control.
    TCursorShape Cursor = TCursorShape::crDefault;
    /// Where the mouse pointer is, in client coordinates.
    std::optional<TPoint> Pointer;
    UnicodeString HintText;
    TColor HintColor = 0;
    TRect HintRect;
    bool HintShown = false;
    /// What was drawn on the window outside a paint pass.
    RecordingCanvas OutsidePaint;

private:
    Control& fControl;
};
