#include "platform/qt/QtWindowPlacement.h"
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include "platform/WindowPlacement.h"

namespace {

TRect ToTRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
QRect ToQRect(const TRect& r) { return {r.Left, r.Top, r.Width(), r.Height()}; }

/// The frame around a window's client area: its own once the window manager has framed it, else
/// its owner's; none when neither is known.
QMargins FrameMarginsOf(const QWidget* window, const QWidget* owner)
{
    for (const QWidget* widget : {window, owner}) {
        if (!widget) continue;
        const QRect frame = widget->frameGeometry();
        const QRect client = widget->geometry();
        const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                               frame.right() - client.right(), frame.bottom() - client.bottom());
        if (!margins.isNull()) return margins;
    }
    return {};
}

/// Gives a window the size that showing it would give it, so that it is placed at that size.
void TakeShowingSize(QWidget* window)
{
    if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
}

void PlaceFrame(QWidget* window, const QWidget* owner, const TRect& frame)
{
    const QRect area = WorkAreaOf(owner ? owner : window);
    const QRect placed = ToQRect(KeepOnScreen(frame, ToTRect(area)));
    window->setGeometry(placed.marginsRemoved(FrameMarginsOf(window, owner)));
}

} // namespace

QRect WorkAreaOf(const QWidget* widget)
{
    QScreen* screen = QGuiApplication::screenAt(widget->frameGeometry().center());
    if (!screen) screen = widget->screen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize FrameSizeOf(const QWidget* window, const QWidget* owner)
{
    return window->size().grownBy(FrameMarginsOf(window, owner));
}

void PlaceWindow(QWidget* window, const QWidget* owner)
{
    if (window->isVisible()) return;
    TakeShowingSize(window);
    const QSize size = FrameSizeOf(window, owner);
    // Placed before: it opens where it was last, which may be where the user moved it.
    if (window->testAttribute(Qt::WA_Moved) || !owner) {
        PlaceFrame(window, owner, ToTRect(QRect(window->frameGeometry().topLeft(), size)));
        return;
    }
    PlaceFrame(window, owner, CentreOver(ToTRect(owner->frameGeometry()), size.width(), size.height()));
}

void PlaceWindowAt(QWidget* window, const QWidget* owner, TPoint topLeft)
{
    if (window->isVisible()) return;
    TakeShowingSize(window);
    const QSize size = FrameSizeOf(window, owner);
    PlaceFrame(window, owner, {topLeft.X, topLeft.Y, topLeft.X + size.width(), topLeft.Y + size.height()});
}

QSize FirstWindowSize(const QWidget* window, QSize wanted)
{
    const QRect area = WorkAreaOf(window);
    if (area.isEmpty()) return wanted;
    const QStyle* style = window->style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const QSize frame(2 * border, style->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border);
    return wanted.boundedTo(area.size() - frame);
}
