#include "platform/Control.h"

#include <algorithm>

TToolkitScrollRange ToolkitScrollRange(const TScrollInfo& info)
{
    const int page = std::max(info.Page, 0);
    const int top = page > 0 ? info.Max - page + 1 : info.Max;
    return {info.Min, std::max(info.Min, top), std::max(page, 1)};
}

Control::Control() = default;

Control::~Control() = default;

void Control::SetHost(ControlHost* host)
{
    fHost = host;
}

void Control::SetBounds(int left, int top, int width, int height)
{
    TRect bounds{left, top, left + width, top + height};
    if (bounds == fBounds) return;
    bool resized = bounds.Width() != fBounds.Width() || bounds.Height() != fBounds.Height();
    fBounds = bounds;
    if (resized) Resize();
}

void Control::SetClientSize(int width, int height)
{
    if (fHost) fHost->RequestClientSize(width, height);
}

std::optional<TPoint> Control::PointerPosition() const
{
    if (!fHost) return std::nullopt;
    return fHost->PointerPosition();
}

void Control::SetColor(TColor color)
{
    if (color == fColor) return;
    fColor = color;
    Invalidate();
}

void Control::SetFont(const TFont& font)
{
    if (font == fFont) return;
    fFont = font;
    Invalidate();
}

void Control::SetVisible(bool visible)
{
    fVisible = visible;
}

void Control::SetEnabled(bool enabled)
{
    fEnabled = enabled;
}

void Control::SetFocus()
{
    // A host moves the toolkit's focus and reports back through FocusChanged.
    if (fHost) fHost->SetFocus();
    else FocusChanged(true);
}

void Control::FocusChanged(bool focused)
{
    if (focused == fFocused) return;
    fFocused = focused;
    if (focused) DoEnter();
    else DoExit();
}

void Control::Invalidate()
{
    InvalidateRect(ClientRect());
}

void Control::InvalidateRect(const TRect& r)
{
    if (fHost && !r.IsEmpty()) fHost->InvalidateRect(r);
}

void Control::ScrollWindow(const TRect& r, int dx, int dy)
{
    if (fHost && !r.IsEmpty()) fHost->ScrollRect(r, dx, dy);
}

const TScrollInfo& Control::ScrollInfo(TScrollBarKind kind) const
{
    return kind == TScrollBarKind::sbHorizontal ? fHorz : fVert;
}

void Control::SetScrollInfo(TScrollBarKind kind, const TScrollInfo& info)
{
    TScrollInfo& bar = kind == TScrollBarKind::sbHorizontal ? fHorz : fVert;
    bar = info;
    const int max = std::max(bar.Max, bar.Min);
    bar.Page = std::clamp(bar.Page, 0, max - bar.Min + 1);
    bar.Position = std::clamp(bar.Position, bar.Min, max - std::max(bar.Page - 1, 0));
    if (fHost) fHost->ScrollInfoChanged(kind, bar);
}

void Control::SetCapture(bool capture)
{
    fCaptured = capture;
    if (fHost) fHost->SetCapture(capture);
}

void Control::SetCursorShape(TCursorShape shape)
{
    fCursor = shape;
    if (fHost) fHost->SetCursorShape(shape);
}

void Control::SetCursor(TCursorShape cursor)
{
    fOwnCursor = cursor;
    SetCursorShape(cursor);
}

void Control::BorderChanged()
{
    if (fHost) fHost->BorderChanged();
}

void Control::SetCaret(bool visible, const TRect& caret)
{
    fCaretVisible = visible;
    fCaret = caret;
    if (fHost) fHost->CaretChanged(visible, caret);
}

void Control::Beep()
{
    if (fHost) fHost->Beep();
}
