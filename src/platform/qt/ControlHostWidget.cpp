#include "platform/qt/ControlHostWidget.h"
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QCursor>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QTimer>
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtColor.h"
#include "platform/qt/QtFileNames.h"
#include "platform/qt/QtKeys.h"

// The part of the host that the control paints on and that takes its keys and mouse.
class ControlSurface : public QWidget {
public:
    ControlSurface(Control& control, QWidget* parent) : QWidget(parent), fControl(control)
    {
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_InputMethodEnabled);
        setAcceptDrops(true);
        fBlink.setInterval(std::max(100, QApplication::cursorFlashTime() / 2));
        QObject::connect(&fBlink, &QTimer::timeout, this, [this] {
            fCaretOn = !fCaretOn;
            update(ToQRect(fCaret));
        });
    }

    void SetCaret(bool visible, const TRect& caret)
    {
        // A control places its caret again after every paint: an unchanged caret must not ask for
        // another paint.
        if (visible == fCaretVisible && caret == fCaret) return;
        update(ToQRect(fCaret));
        fCaretVisible = visible;
        fCaret = caret;
        fCaretOn = true;
        if (visible) fBlink.start();
        else fBlink.stop();
        update(ToQRect(fCaret));
    }

    /// Draws on the backing image and shows the result with the next paint, which draws the
    /// control over it again: what lasts is what the control's own paint pass draws.
    void PaintOutsidePaint(const std::function<void(Canvas&)>& paint)
    {
        FitBacking();
        QtCanvas canvas(fBacking);
        paint(canvas);
        canvas.Flush();
        update();
    }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
            auto* k = static_cast<QKeyEvent*>(e);
            // A key the control does not want goes on to the window, which may move the focus with it.
            if (!Wanted(k->key())) {
                e->ignore();
                return false;
            }
            // A wanted Tab or Shift+Tab is a key of the control, not a focus move.
            if (e->type() == QEvent::KeyPress && (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab)) {
                keyPressEvent(k);
                return true;
            }
        }
        return QWidget::event(e);
    }

    void paintEvent(QPaintEvent* e) override
    {
        FitBacking();
        QtCanvas canvas(fBacking);
        canvas.SetFont(fControl.Font());
        canvas.SetBrushColor(fControl.Color());
        canvas.SetClipRect({e->rect().left(), e->rect().top(), e->rect().right() + 1, e->rect().bottom() + 1});
        fControl.Paint(canvas);
        canvas.Flush();
        QPainter p(this);
        p.drawImage(e->rect(), fBacking, e->rect());
        if (fCaretVisible && fCaretOn && !fCaret.IsEmpty()) {
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.fillRect(ToQRect(fCaret), Qt::white);
        }
    }

    void resizeEvent(QResizeEvent*) override
    {
        TRect b = fControl.BoundsRect();
        fControl.SetBounds(b.Left, b.Top, width(), height());
    }

    void keyPressEvent(QKeyEvent* e) override
    {
        TKeyTranslation t = TranslateKey(e->key(), e->modifiers(), e->text());
        if (t.VirtualKey) {
            std::uint16_t key = t.VirtualKey;
            fControl.KeyDown(key, t.Shift);
        }
        // As on the system the program comes from, the character follows even when KeyDown took the key.
        for (char16_t c : t.Chars) fControl.KeyPress(c);
    }

    void keyReleaseEvent(QKeyEvent* e) override
    {
        TKeyTranslation t = TranslateKey(e->key(), e->modifiers(), e->text());
        if (!t.VirtualKey) return;
        std::uint16_t key = t.VirtualKey;
        fControl.KeyUp(key, t.Shift);
    }

    void inputMethodEvent(QInputMethodEvent* e) override
    {
        if (!e->commitString().isEmpty()) fControl.InputMethodText(e->commitString().toStdU16String());
    }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override
    {
        if (query == Qt::ImCursorRectangle) return QRect(ToQRect(fCaret));
        return QWidget::inputMethodQuery(query);
    }

    void mousePressEvent(QMouseEvent* e) override
    {
        if (auto button = ButtonOf(e->button())) {
            QPoint p = e->position().toPoint();
            fControl.MouseDown(*button, ShiftStateOf(e->modifiers(), e->buttons()), p.x(), p.y());
        }
    }

    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        auto button = ButtonOf(e->button());
        if (!button) return;
        if (*button == TMouseButton::mbLeft) fControl.DblClick();
        QPoint p = e->position().toPoint();
        fControl.MouseDown(*button, ShiftStateOf(e->modifiers(), e->buttons()) | ssDouble, p.x(), p.y());
    }

    void mouseMoveEvent(QMouseEvent* e) override
    {
        QPoint p = e->position().toPoint();
        fControl.MouseMove(ShiftStateOf(e->modifiers(), e->buttons()), p.x(), p.y());
    }

    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (auto button = ButtonOf(e->button())) {
            QPoint p = e->position().toPoint();
            fControl.MouseUp(*button, ShiftStateOf(e->modifiers(), e->buttons()), p.x(), p.y());
        }
    }

    void wheelEvent(QWheelEvent* e) override
    {
        int delta = e->angleDelta().y();
        QPoint p = e->position().toPoint();
        if (delta != 0 && fControl.MouseWheel(ShiftStateOf(e->modifiers(), e->buttons()), delta, {p.x(), p.y()}))
            e->accept();
        else
            e->ignore();
    }

    void dragEnterEvent(QDragEnterEvent* e) override
    {
        if (fControl.AcceptsDroppedFiles() && !DroppedFiles(*e->mimeData()).empty()) e->acceptProposedAction();
    }

    void dragMoveEvent(QDragMoveEvent* e) override
    {
        if (fControl.AcceptsDroppedFiles()) e->acceptProposedAction();
        else e->ignore();
    }

    void dropEvent(QDropEvent* e) override
    {
        const std::vector<UnicodeString> files = DroppedFiles(*e->mimeData());
        if (!fControl.AcceptsDroppedFiles() || files.empty()) return;
        e->acceptProposedAction();
        const QPoint p = e->position().toPoint();
        fControl.FilesDropped(p.x(), p.y(), files);
    }

    void focusInEvent(QFocusEvent*) override { fControl.FocusChanged(true); }
    void focusOutEvent(QFocusEvent* event) override
    {
        // A menu that opens leaves the focus where it was, as the forms expect of a menu.
        if (event->reason() != Qt::PopupFocusReason) fControl.FocusChanged(false);
    }

private:
    /// The local files a drag carries; other things it carries do not count.
    static std::vector<UnicodeString> DroppedFiles(const QMimeData& data)
    {
        return FileNamesOfUriList(data.data(QStringLiteral("text/uri-list")));
    }

    void FitBacking()
    {
        if (fBacking.size() == size()) return;
        fBacking = QImage(size(), QImage::Format_RGB32);
        fBacking.fill(ToQColor(fControl.Color()));
    }

    bool Wanted(int key) const
    {
        switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return (fControl.DlgCode() & DLGC_WANTTAB) != 0;
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down: return (fControl.DlgCode() & DLGC_WANTARROWS) != 0;
        case Qt::Key_Return:
        case Qt::Key_Enter: return (fControl.DlgCode() & DLGC_WANTALLKEYS) != 0;
        default: return true;
        }
    }

    static std::optional<TMouseButton> ButtonOf(Qt::MouseButton b)
    {
        switch (b) {
        case Qt::LeftButton: return TMouseButton::mbLeft;
        case Qt::RightButton: return TMouseButton::mbRight;
        case Qt::MiddleButton: return TMouseButton::mbMiddle;
        default: return std::nullopt;
        }
    }

    Control& fControl;
    QImage fBacking;
    QTimer fBlink;
    bool fCaretVisible = false;
    bool fCaretOn = false;
    TRect fCaret;
};

ControlHostWidget::ControlHostWidget(Control& control, QWidget* parent)
    : QFrame(parent), fControl(control), fSurface(new ControlSurface(control, this)),
      fHorz(new QScrollBar(Qt::Horizontal, this)), fVert(new QScrollBar(Qt::Vertical, this))
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(fSurface, 0, 0);
    if (fControl.ScrollBarsInside()) {
        // The control counts the bars as part of its client area: they lie over its edges.
        fVert->setParent(fSurface);
        fHorz->setParent(fSurface);
    } else {
        grid->addWidget(fVert, 0, 1);
        grid->addWidget(fHorz, 1, 0);
    }
    setFocusProxy(fSurface);
    BorderChanged();
    for (auto kind : {TScrollBarKind::sbHorizontal, TScrollBarKind::sbVertical}) {
        QScrollBar* bar = Bar(kind);
        bar->setFocusPolicy(Qt::NoFocus);
        bar->installEventFilter(this);
        QObject::connect(bar, &QScrollBar::actionTriggered, this, [this, kind](int action) { ScrollAction(kind, action); });
        SyncBar(kind);
    }
    fControl.SetHost(this);
}

ControlHostWidget::~ControlHostWidget()
{
    fControl.SetHost(nullptr);
    delete fHint;
}

QWidget* ControlHostWidget::Surface() const { return fSurface; }

QScrollBar* ControlHostWidget::Bar(TScrollBarKind kind) const
{
    return kind == TScrollBarKind::sbHorizontal ? fHorz : fVert;
}

void ControlHostWidget::InvalidateRect(const TRect& r)
{
    // Bars that lie over the control cover what it would paint there; leaving them out of the
    // update keeps them from being painted again on every paint of the control.
    QRegion region(ToQRect(r));
    if (fControl.ScrollBarsInside()) {
        for (QScrollBar* bar : {fVert, fHorz})
            if (bar->isVisibleTo(fSurface)) region -= bar->geometry();
    }
    if (!region.isEmpty()) fSurface->update(region);
}

void ControlHostWidget::ScrollRect(const TRect& r, int dx, int dy) { fSurface->scroll(dx, dy, ToQRect(r)); }

void ControlHostWidget::ScrollInfoChanged(TScrollBarKind kind, const TScrollInfo& info) { SyncBar(kind); }

void ControlHostWidget::SyncBar(TScrollBarKind kind)
{
    const TScrollInfo& info = fControl.ScrollInfo(kind);
    QScrollBar* bar = Bar(kind);
    QSignalBlocker block(bar);
    const TToolkitScrollRange range = ToolkitScrollRange(info);
    bar->setRange(range.Minimum, range.Maximum);
    bar->setPageStep(range.PageStep);
    bar->setSingleStep(1);
    bar->setSliderPosition(info.Position);
    bar->setValue(info.Position);
    bar->setVisible(info.Visible);
    if (fControl.ScrollBarsInside()) PlaceBarsInside();
}

void ControlHostWidget::PlaceBarsInside()
{
    const int w = fSurface->width();
    const int h = fSurface->height();
    const bool vert = fControl.ScrollInfo(TScrollBarKind::sbVertical).Visible;
    const bool horz = fControl.ScrollInfo(TScrollBarKind::sbHorizontal).Visible;
    fVert->setGeometry(w - ScrollBarSize, 0, ScrollBarSize, h - (horz ? ScrollBarSize : 0));
    fHorz->setGeometry(0, h - ScrollBarSize, w - (vert ? ScrollBarSize : 0), ScrollBarSize);
}

void ControlHostWidget::ScrollAction(TScrollBarKind kind, int action)
{
    QScrollBar* bar = Bar(kind);
    int position = fControl.ScrollInfo(kind).Position;
    TScrollCode code;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: code = TScrollCode::scLineUp; break;
    case QAbstractSlider::SliderSingleStepAdd: code = TScrollCode::scLineDown; break;
    case QAbstractSlider::SliderPageStepSub: code = TScrollCode::scPageUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = TScrollCode::scPageDown; break;
    case QAbstractSlider::SliderToMinimum: code = TScrollCode::scTop; break;
    case QAbstractSlider::SliderToMaximum: code = TScrollCode::scBottom; break;
    case QAbstractSlider::SliderMove:
        fControl.Scroll(kind, TScrollCode::scTrack, bar->sliderPosition());
        return;
    default: return;
    }
    fControl.Scroll(kind, code, position);
    // The control decides where the bar goes, not Qt's own step.
    bar->setSliderPosition(fControl.ScrollInfo(kind).Position);
}

bool ControlHostWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && (watched == fHorz || watched == fVert)) {
        TScrollBarKind kind = watched == fHorz ? TScrollBarKind::sbHorizontal : TScrollBarKind::sbVertical;
        QScrollBar* bar = Bar(kind);
        if (bar->isSliderDown()) fControl.Scroll(kind, TScrollCode::scPosition, bar->sliderPosition());
        fControl.Scroll(kind, TScrollCode::scEndScroll, fControl.ScrollInfo(kind).Position);
        SyncBar(kind);
    }
    return QFrame::eventFilter(watched, event);
}

void ControlHostWidget::SetCapture(bool capture)
{
    if (capture) fSurface->grabMouse();
    else fSurface->releaseMouse();
}

void ControlHostWidget::SetCursorShape(TCursorShape shape)
{
    switch (shape) {
    case TCursorShape::crDefault:
    case TCursorShape::crArrow: fSurface->setCursor(Qt::ArrowCursor); break;
    case TCursorShape::crIBeam: fSurface->setCursor(Qt::IBeamCursor); break;
    case TCursorShape::crHandPoint: fSurface->setCursor(Qt::PointingHandCursor); break;
    case TCursorShape::crDrag: fSurface->setCursor(Qt::DragMoveCursor); break;
    case TCursorShape::crMultiDrag: fSurface->setCursor(Qt::DragCopyCursor); break;
    case TCursorShape::crNoDrop: fSurface->setCursor(Qt::ForbiddenCursor); break;
    case TCursorShape::crSizeAll: fSurface->setCursor(Qt::SizeAllCursor); break;
    }
}

void ControlHostWidget::BorderChanged()
{
    // A plain line in the window text colour, as the system's thin window border.
    const int width = fControl.BorderWidth();
    setFrameStyle(width > 0 ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    setLineWidth(width);
}

void ControlHostWidget::SetFocus() { fSurface->setFocus(Qt::OtherFocusReason); }

void ControlHostWidget::CaretChanged(bool visible, const TRect& caret) { fSurface->SetCaret(visible, caret); }

void ControlHostWidget::Beep() { QApplication::beep(); }

void ControlHostWidget::PaintOutsidePaint(const std::function<void(Canvas&)>& paint)
{
    fSurface->PaintOutsidePaint(paint);
}

void ControlHostWidget::RequestClientSize(int width, int height)
{
    // A widget that a layout places keeps the size the layout gives it, as an aligned control does.
    QWidget* parent = parentWidget();
    if (parent && parent->layout() && parent->layout()->indexOf(this) >= 0) return;
    if (!fControl.ScrollBarsInside()) {
        if (fVert->isVisibleTo(this)) width += fVert->sizeHint().width();
        if (fHorz->isVisibleTo(this)) height += fHorz->sizeHint().height();
    }
    resize(width + 2 * frameWidth(), height + 2 * frameWidth());
}

std::optional<TPoint> ControlHostWidget::PointerPosition() const
{
    const QPoint p = fSurface->mapFromGlobal(QCursor::pos());
    return TPoint{p.x(), p.y()};
}

void ControlHostWidget::PrepareHint(const UnicodeString& text, int maxWidth) const
{
    if (!fHint) {
        fHint = new QLabel(nullptr, Qt::ToolTip);
        fHint->setMargin(2);
        fHint->setAutoFillBackground(true);
    }
    fHint->setWordWrap(false);
    fHint->setText(QString::fromStdU16String(text));
    if (fHint->sizeHint().width() > maxWidth) {
        fHint->setWordWrap(true);
        fHint->setFixedWidth(maxWidth);
    } else {
        fHint->setMinimumWidth(0);
        fHint->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

TSize ControlHostWidget::HintSize(const UnicodeString& text, int maxWidth) const
{
    PrepareHint(text, maxWidth);
    const QSize size = fHint->sizeHint();
    return {size.width(), size.height()};
}

void ControlHostWidget::ShowHint(const UnicodeString& text, TColor color, const TRect& rect)
{
    if (!fHint || fHint->text() != QString::fromStdU16String(text)) PrepareHint(text, rect.Width());
    QPalette palette = fHint->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    fHint->setPalette(palette);
    fHint->setGeometry(QRect(fSurface->mapToGlobal(QPoint(rect.Left, rect.Top)), QSize(rect.Width(), rect.Height())));
    fHint->show();
}

void ControlHostWidget::HideHint()
{
    if (fHint) fHint->hide();
}
