#include "support/FakeControlHost.h"

FakeControlHost::FakeControlHost(Control& control, int clientWidth, int clientHeight, bool focused)
    : fControl(control)
{
    fControl.SetHost(this);
    if (focused) fControl.FocusChanged(true);
    fControl.SetBounds(0, 0, clientWidth, clientHeight);
}

FakeControlHost::~FakeControlHost() { fControl.SetHost(nullptr); }

void FakeControlHost::ScrollInfoChanged(TScrollBarKind kind, const TScrollInfo& info)
{
    (kind == TScrollBarKind::sbHorizontal ? Horz : Vert) = info;
}

void FakeControlHost::CaretChanged(bool visible, const TRect& caret)
{
    CaretShown = visible;
    Caret = caret;
}

void FakeControlHost::Reset()
{
    Invalidated.clear();
    Scrolled.clear();
}
