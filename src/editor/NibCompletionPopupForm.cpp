#include "editor/NibCompletionPopupForm.h"
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/QtColor.h"

namespace {

constexpr int SizingFrame = 4;
constexpr int DialogFrame = 2;

}  // namespace

TNibCompletionPopupForm::TNibCompletionPopupForm(TNibBaseCompletionProposalForm& Popup, QWidget* parent)
    : QWidget(parent), fPopup(Popup), fHost(new ControlHostWidget(Popup, this))
{
    // Never activated, by the program or by a window manager: the window that holds the editor stays
    // the active one, so that a click there right after a completion is not spent on activating it.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(fHost);
    setMouseTracking(true);
    fPopup.SetWindowBounds({0, 0, 260, 100});
    fPopup.SetWheelScrollLines(QApplication::wheelScrollLines());
    fPopup.SetWindow(this);
    RecreateWindow();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
        // Another window, or another application, has the keys now.
        if (fTakesKeys && window != fKeysFrom) fPopup.Deactivate();
    });
}

TNibCompletionPopupForm::~TNibCompletionPopupForm()
{
    StopTakingKeys();
    fPopup.SetWindow(nullptr);
}

void TNibCompletionPopupForm::RecreateWindow()
{
    const int frame = FrameThickness();
    layout()->setContentsMargins(frame, frame, frame, frame);
    update();
}

int TNibCompletionPopupForm::FrameThickness() const
{
    if (fPopup.DisplayKind() != ctCode) return 0;
    return fPopup.Resizeable() ? SizingFrame : DialogFrame;
}

int TNibCompletionPopupForm::ScrollBarWidth() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

void TNibCompletionPopupForm::ShowPopup(bool TakeKeys)
{
    RecreateWindow();
    show();
    raise();
    if (!TakeKeys || fTakesKeys) return;
    fTakesKeys = true;
    fKeysFrom = QGuiApplication::focusWindow();
    qApp->installEventFilter(this);
    fPopup.Activate();
}

void TNibCompletionPopupForm::HidePopup()
{
    StopTakingKeys();
    hide();
}

void TNibCompletionPopupForm::StopTakingKeys()
{
    if (!fTakesKeys) return;
    fTakesKeys = false;
    fKeysFrom = nullptr;
    qApp->removeEventFilter(this);
}

bool TNibCompletionPopupForm::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() == this) return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // The list's keys are the list's, not a shortcut of the window around the editor.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        QCoreApplication::sendEvent(fHost->Surface(), event);
        // Taken: the widgets around the editor must not see it again.
        event->accept();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // A click elsewhere closes the list and still does what it does there.
        fPopup.Deactivate();
        return false;
    default: return false;
    }
}

TRect TNibCompletionPopupForm::PopupBounds() const
{
    const QRect r = geometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void TNibCompletionPopupForm::SetPopupBounds(const TRect& Bounds)
{
    setGeometry(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
}

void TNibCompletionPopupForm::paintEvent(QPaintEvent*)
{
    const int frame = FrameThickness();
    if (frame == 0) return;
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, ToQColor(ColorToRGB(clBtnFace)));
    // A raised frame: light along the top and left, shadow along the bottom and right.
    p.setPen(ToQColor(ColorToRGB(cl3DLight)));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(ToQColor(ColorToRGB(cl3DDkShadow)));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

Qt::Edges TNibCompletionPopupForm::EdgesAt(const QPoint& pos) const
{
    Qt::Edges edges;
    if (fPopup.DisplayKind() != ctCode || !fPopup.Resizeable()) return edges;
    const int frame = FrameThickness();
    if (pos.x() < frame) edges |= Qt::LeftEdge;
    if (pos.x() >= width() - frame) edges |= Qt::RightEdge;
    if (pos.y() < frame) edges |= Qt::TopEdge;
    if (pos.y() >= height() - frame) edges |= Qt::BottomEdge;
    return edges;
}

void TNibCompletionPopupForm::mousePressEvent(QMouseEvent* event)
{
    fResizing = EdgesAt(event->position().toPoint());
    fPressGlobal = event->globalPosition().toPoint();
    fPressGeometry = geometry();
}

void TNibCompletionPopupForm::mouseMoveEvent(QMouseEvent* event)
{
    if (!fResizing) {
        const Qt::Edges edges = EdgesAt(event->position().toPoint());
        const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
        const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
        if (horizontal && vertical)
            setCursor((edges & Qt::LeftEdge) == (edges & Qt::TopEdge) ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
        else if (horizontal) setCursor(Qt::SizeHorCursor);
        else if (vertical) setCursor(Qt::SizeVerCursor);
        else unsetCursor();
        return;
    }
    const QPoint delta = event->globalPosition().toPoint() - fPressGlobal;
    QRect r = fPressGeometry;
    int w = r.width() + (fResizing & Qt::RightEdge ? delta.x() : 0) - (fResizing & Qt::LeftEdge ? delta.x() : 0);
    int h = r.height() + (fResizing & Qt::BottomEdge ? delta.y() : 0) - (fResizing & Qt::TopEdge ? delta.y() : 0);
    fPopup.Sizing(w, h);
    // The dragged edges move; the opposite ones stay.
    const int left = fResizing & Qt::LeftEdge ? r.right() + 1 - w : r.left();
    const int top = fResizing & Qt::TopEdge ? r.bottom() + 1 - h : r.top();
    setGeometry(left, top, w, h);
}

void TNibCompletionPopupForm::mouseReleaseEvent(QMouseEvent*) { fResizing = {}; }
