#pragma once
// Base of the controls that the system draws itself; a host (a toolkit widget, or a test) shows it.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>
#include "platform/Canvas.h"
#include "platform/Events.h"
#include "platform/Graphics.h"

/// Shift state bits, as the system's key and mouse events carry them.
enum TShiftFlag : std::uint16_t {
    ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64
};
using TShiftState = std::uint16_t;

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };
enum class TScrollBarKind : std::uint8_t { sbHorizontal, sbVertical };
/// What the user did to a scroll bar.
enum class TScrollCode : std::uint8_t {
    scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll
};
/// Mouse cursors; crDrag is the one of a move by dragging, crMultiDrag that of a copy.
enum class TCursorShape : std::uint8_t {
    crDefault, crArrow, crIBeam, crHandPoint, crDrag, crMultiDrag, crNoDrop, crSizeAll
};

/// Windows virtual-key codes used by key events.
namespace VK {
constexpr std::uint16_t BACK = 0x08, TAB = 0x09, RETURN = 0x0D, SHIFT = 0x10, CONTROL = 0x11, MENU = 0x12,
                        ESCAPE = 0x1B, SPACE = 0x20, PRIOR = 0x21, NEXT = 0x22, END = 0x23, HOME = 0x24,
                        LEFT = 0x25, UP = 0x26, RIGHT = 0x27, DOWN = 0x28, INSERT = 0x2D, DELETE_ = 0x2E,
                        F1 = 0x70, F12 = 0x7B;
}

/// The keys that would otherwise move the focus or press a window's button, as a control wants
/// them: the arrows, Tab and Shift+Tab, and Enter.
enum TDlgCode : std::uint8_t { DLGC_WANTARROWS = 0x01, DLGC_WANTTAB = 0x02, DLGC_WANTALLKEYS = 0x04 };
using TDlgCodes = std::uint8_t;

/// Width of a vertical and height of a horizontal scroll bar, as the system's metrics give it.
constexpr int ScrollBarSize = 17;

struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Position = 0;
    bool Visible = false;
};

/// A toolkit scroll bar's range for a bar counted as the system counts it, where Max includes the
/// last page: the highest position is Max - Page + 1 and a page step is the page.
struct TToolkitScrollRange {
    int Minimum = 0;
    int Maximum = 0;
    int PageStep = 1;
    friend bool operator==(const TToolkitScrollRange&, const TToolkitScrollRange&) = default;
};
TToolkitScrollRange ToolkitScrollRange(const TScrollInfo& info);

class Control;

/// What a control asks of whatever shows it.
class ControlHost {
public:
    virtual ~ControlHost() = default;
    virtual void InvalidateRect(const TRect& r) = 0;
    virtual void ScrollInfoChanged(TScrollBarKind kind, const TScrollInfo& info) = 0;
    virtual void SetCapture(bool capture) = 0;
    virtual void SetCursorShape(TCursorShape shape) = 0;
    virtual void SetFocus() = 0;
    virtual void CaretChanged(bool visible, const TRect& caret) = 0;
    virtual void Beep() = 0;
    /// Moves the pixels of r by (dx, dy) and repaints what they uncover; a host that cannot move
    /// pixels repaints r.
    virtual void ScrollRect(const TRect& r, int dx, int dy) { InvalidateRect(r); }
    /// Asks for the control's client area to take this size. The host resizes the control (its
    /// SetBounds) unless something else decides the size, as a layout does.
    virtual void RequestClientSize(int width, int height) {}
    /// Where the mouse pointer is, in the control's client coordinates; nothing when unknown.
    virtual std::optional<TPoint> PointerPosition() const { return std::nullopt; }
    /// Runs paint on a canvas over the control's window outside a paint pass; a host without one
    /// does not run it.
    virtual void PaintOutsidePaint(const std::function<void(Canvas&)>& paint) {}
    /// The size a hint window takes for text, broken into lines no wider than maxWidth.
    virtual TSize HintSize(const UnicodeString& text, int maxWidth) const { return {}; }
    /// Shows a hint window over the control, its rectangle in client coordinates; a shown one moves.
    virtual void ShowHint(const UnicodeString& text, TColor color, const TRect& rect) {}
    virtual void HideHint() {}
    /// The control's BorderWidth changed: the host draws its frame anew and gives the control the
    /// client area inside it.
    virtual void BorderChanged() {}
};

class Control : public TObject {
public:
    Control();
    ~Control() override;

    void SetHost(ControlHost* host);
    ControlHost* Host() const { return fHost; }

    TRect BoundsRect() const { return fBounds; }
    void SetBounds(int left, int top, int width, int height);
    int Width() const { return fBounds.Width(); }
    int Height() const { return fBounds.Height(); }
    int ClientWidth() const { return fBounds.Width(); }
    int ClientHeight() const { return fBounds.Height(); }
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    /// Asks the host for a client area of this size; nothing happens without a host.
    void SetClientSize(int width, int height);
    /// The mouse pointer in client coordinates, as the host reports it.
    std::optional<TPoint> PointerPosition() const;

    TColor Color() const { return fColor; }
    virtual void SetColor(TColor color);
    const TFont& Font() const { return fFont; }
    virtual void SetFont(const TFont& font);
    bool Visible() const { return fVisible; }
    void SetVisible(bool visible);
    bool Enabled() const { return fEnabled; }
    void SetEnabled(bool enabled);
    bool Focused() const { return fFocused; }
    /// Shown and enabled.
    bool CanFocus() const { return fVisible && fEnabled; }
    /// Asks the host for the focus.
    virtual void SetFocus();

    void Invalidate();
    void InvalidateRect(const TRect& r);
    /// Moves the painted pixels of r by (dx, dy), as the system's window scrolling does.
    void ScrollWindow(const TRect& r, int dx, int dy);

    const TScrollInfo& ScrollInfo(TScrollBarKind kind) const;
    /// Stores the scroll bar as the system's scroll bars do: Page is kept within 0..Max-Min+1 and
    /// Position within Min..Max-max(Page-1, 0).
    void SetScrollInfo(TScrollBarKind kind, const TScrollInfo& info);
    void SetCapture(bool capture);
    bool Captured() const { return fCaptured; }
    /// The cursor shown over the control now.
    void SetCursorShape(TCursorShape shape);
    TCursorShape CursorShape() const { return fCursor; }
    /// The control's own cursor, which a control that chooses its cursor by place shows where it
    /// has no other; setting it shows it.
    TCursorShape Cursor() const { return fOwnCursor; }
    void SetCursor(TCursorShape cursor);
    void SetCaret(bool visible, const TRect& caret);
    bool CaretVisible() const { return fCaretVisible; }
    TRect CaretRect() const { return fCaret; }
    void Beep();

    /// True when the control's scroll bars lie over the right and bottom edges of its client area
    /// (ScrollBarSize thick) rather than beside it; the control then leaves room for them itself.
    virtual bool ScrollBarsInside() const { return false; }
    /// Which of the arrows, Tab and Enter the host hands to the control; the others go to the
    /// window, which may move the focus with them. All three by default.
    virtual TDlgCodes DlgCode() const { return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS; }
    /// Width of the single-line frame the host draws around the control and its scroll bars,
    /// outside the client area; 0 for none.
    virtual int BorderWidth() const { return 0; }
    /// Tells the host that BorderWidth changed.
    void BorderChanged();

    virtual void Paint(Canvas& canvas) {}
    virtual void Resize() {}
    virtual void KeyDown(std::uint16_t& key, TShiftState shift) {}
    virtual void KeyPress(char16_t& key) {}
    virtual void KeyUp(std::uint16_t& key, TShiftState shift) {}
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y) {}
    virtual void MouseMove(TShiftState shift, int x, int y) {}
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y) {}
    virtual void DblClick() {}
    /// Returns true when the wheel was handled.
    virtual bool MouseWheel(TShiftState shift, int wheelDelta, TPoint pos) { return false; }
    virtual void Scroll(TScrollBarKind kind, TScrollCode code, int position) {}
    virtual void DoEnter() {}
    virtual void DoExit() {}
    /// Text committed by an input method.
    virtual void InputMethodText(const UnicodeString& text) {}
    /// Whether files dragged from the desktop may be dropped on the control now.
    virtual bool AcceptsDroppedFiles() const { return false; }
    /// Files dropped on the control at a client point, their full names in the order given.
    virtual void FilesDropped(int x, int y, const std::vector<UnicodeString>& files) {}

    /// Called by the host when focus arrives or leaves.
    void FocusChanged(bool focused);

private:
    ControlHost* fHost = nullptr;
    TRect fBounds;
    TColor fColor = clWhite;
    TFont fFont;
    bool fVisible = true;
    bool fEnabled = true;
    bool fFocused = false;
    TScrollInfo fHorz;
    TScrollInfo fVert;
    bool fCaptured = false;
    TCursorShape fCursor = TCursorShape::crDefault;
    TCursorShape fOwnCursor = TCursorShape::crDefault;
    bool fCaretVisible = false;
    TRect fCaret;
};
