#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include "platform/QtTestApplication.h"
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/QtKeys.h"

namespace {

// Writes down every call the host makes, and paints itself red.
class RecordingControl : public Control {
public:
    void Paint(Canvas& canvas) override
    {
        canvas.SetBrushColor(0x0000FF);
        canvas.FillRect(ClientRect());
    }
    void KeyDown(std::uint16_t& key, TShiftState shift) override
    {
        Log.push_back("down " + std::to_string(key) + " " + std::to_string(shift));
        key = 0;  // taken: the character still follows
    }
    void KeyPress(char16_t& key) override { Log.push_back("press " + std::to_string(int(key))); }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override
    {
        Log.push_back("mousedown " + std::to_string(int(button)) + " " + std::to_string(shift));
    }
    void DblClick() override { Log.push_back("dblclick"); }
    void Scroll(TScrollBarKind kind, TScrollCode code, int position) override
    {
        Log.push_back("scroll " + std::to_string(int(code)) + " " + std::to_string(position));
    }
    bool AcceptsDroppedFiles() const override { return AcceptsFiles; }
    void FilesDropped(int x, int y, const std::vector<UnicodeString>& files) override
    {
        std::string text = "drop " + std::to_string(x) + " " + std::to_string(y);
        for (const UnicodeString& file : files) text += " " + ToUtf8(file);
        Log.push_back(text);
    }
    bool AcceptsFiles = false;
    std::vector<std::string> Log;
};

class ControlHostQtTest : public ::testing::Test {
protected:
    ControlHostQtTest() : host((TestApplication(), control))
    {
        host.resize(120, 90);
        host.show();
        QCoreApplication::processEvents();
    }

    void Key(int key, Qt::KeyboardModifiers modifiers, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(host.Surface(), &press);
    }

    RecordingControl control;
    ControlHostWidget host;
};

struct KeyCase {
    int QtKey;
    Qt::KeyboardModifiers Modifiers;
    QString Text;
    std::vector<std::string> Log;
};

TEST_F(ControlHostQtTest, KeysArriveAsVirtualKeysWithTheCharacterOfTheKey)
{
    const std::vector<KeyCase> cases = {
        {Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"), {"down 46 0"}},
        {Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"), {"down 13 0", "press 13"}},
        {Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"), {"down 65 4", "press 1"}},
        {Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, QString(), {"down 65 5", "press 1"}},
        {Qt::Key_Exclam, Qt::ShiftModifier, QStringLiteral("!"), {"down 49 1", "press 33"}},
        {Qt::Key_5, Qt::KeypadModifier, QStringLiteral("5"), {"down 101 0", "press 53"}},
        {Qt::Key_Home, Qt::KeypadModifier, QString(), {"down 36 0"}},
        {Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"), {"down 9 0", "press 9"}},
        {Qt::Key_X, Qt::AltModifier, QStringLiteral("x"), {"down 88 2"}},
    };
    for (const KeyCase& c : cases) {
        control.Log.clear();
        Key(c.QtKey, c.Modifiers, c.Text);
        EXPECT_EQ(control.Log, c.Log) << c.QtKey;
    }
}

TEST_F(ControlHostQtTest, FilesDroppedOnTheControlReachItWithTheirNamesAndPoint)
{
    ASSERT_TRUE(host.Surface()->acceptDrops());
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), "file:///tmp/caf%C3%A9%20one.fs\r\nfile:///tmp/two.blk\r\n");
    const QPoint at(30, 20);
    for (bool accepts : {true, false}) {
        SCOPED_TRACE(accepts);
        control.AcceptsFiles = accepts;
        control.Log.clear();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(host.Surface(), &enter);
        EXPECT_EQ(enter.isAccepted(), accepts);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(host.Surface(), &move);
        EXPECT_EQ(move.isAccepted(), accepts);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(host.Surface(), &drop);
        EXPECT_EQ(drop.isAccepted(), accepts);
        EXPECT_EQ(control.Log, accepts ? std::vector<std::string>{"drop 30 20 /tmp/caf\xC3\xA9 one.fs /tmp/two.blk"}
                                       : std::vector<std::string>{});
    }
    // A control that stops taking files while they are dragged over it takes none.
    control.AcceptsFiles = true;
    QDragEnterEvent accepted(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(host.Surface(), &accepted);
    control.AcceptsFiles = false;
    QDropEvent late(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(host.Surface(), &late);
    EXPECT_FALSE(late.isAccepted());
    EXPECT_TRUE(control.Log.empty());

    // Text dragged from another program is no file: nothing to take.
    control.AcceptsFiles = true;
    control.Log.clear();
    QMimeData text;
    text.setText(QStringLiteral("/tmp/not-a-drop.fs"));
    QDragEnterEvent enter(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(host.Surface(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(host.Surface(), &drop);
    EXPECT_TRUE(control.Log.empty());
}

TEST_F(ControlHostQtTest, DoubleClickGivesDblClickThenADoubleMouseDown)
{
    QPointF at(10, 10);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, host.Surface()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(host.Surface(), &dbl);
    EXPECT_EQ(control.Log, (std::vector<std::string>{"dblclick", "mousedown 0 72"}));
}

TEST_F(ControlHostQtTest, ScrollBarsFollowTheControlAndReportItsCodes)
{
    control.SetScrollInfo(TScrollBarKind::sbVertical, {0, 99, 10, 5, true});
    QScrollBar* bar = nullptr;
    for (QScrollBar* b : host.findChildren<QScrollBar*>())
        if (b->orientation() == Qt::Vertical) bar = b;
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 90);
    EXPECT_EQ(bar->pageStep(), 10);
    EXPECT_EQ(bar->value(), 5);

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(control.Log, (std::vector<std::string>{"scroll 1 5", "scroll 2 5"}));
    EXPECT_EQ(bar->value(), 5);  // the control did not move, so neither does the bar

    control.SetScrollInfo(TScrollBarKind::sbVertical, {0, 99, 10, 5, false});
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(ControlHostQtTest, TheControlPaintsThroughTheCanvasAndHasTheSurfaceSize)
{
    QImage shot = host.Surface()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(255, 0, 0));
    EXPECT_EQ(control.ClientWidth(), host.Surface()->width());
    EXPECT_EQ(control.ClientHeight(), host.Surface()->height());
}

TEST_F(ControlHostQtTest, EachCursorShapeHasItsToolkitCursor)
{
    const std::pair<TCursorShape, Qt::CursorShape> cases[] = {
        {TCursorShape::crDefault, Qt::ArrowCursor},     {TCursorShape::crArrow, Qt::ArrowCursor},
        {TCursorShape::crIBeam, Qt::IBeamCursor},       {TCursorShape::crHandPoint, Qt::PointingHandCursor},
        {TCursorShape::crDrag, Qt::DragMoveCursor},     {TCursorShape::crMultiDrag, Qt::DragCopyCursor},
        {TCursorShape::crNoDrop, Qt::ForbiddenCursor},  {TCursorShape::crSizeAll, Qt::SizeAllCursor},
    };
    for (const auto& [shape, qt] : cases) {
        control.SetCursorShape(shape);
        EXPECT_EQ(host.Surface()->cursor().shape(), qt) << int(shape);
    }
}

// A control that asks for a frame of a given width.
class FramedControl : public RecordingControl {
public:
    int BorderWidth() const override { return Width; }
    int Width = 1;
};

TEST(ControlHostFrame, TheHostDrawsTheControlsFrameOutsideItsClientArea)
{
    TestApplication();
    FramedControl control;
    ControlHostWidget host(control);
    host.resize(120, 90);
    host.show();
    QCoreApplication::processEvents();
    const QColor line = host.palette().color(QPalette::WindowText);
    QImage shot = host.grab().toImage();
    EXPECT_EQ(host.Surface()->geometry(), QRect(1, 1, 118, 88));
    EXPECT_EQ(control.ClientWidth(), 118);
    for (const QPoint p : {QPoint(0, 0), QPoint(60, 0), QPoint(119, 45), QPoint(60, 89), QPoint(0, 45)})
        EXPECT_EQ(shot.pixelColor(p), line) << p.x() << "," << p.y();
    EXPECT_EQ(shot.pixelColor(1, 1), QColor(255, 0, 0));

    control.Width = 0;
    control.BorderChanged();
    QCoreApplication::processEvents();
    shot = host.grab().toImage();
    EXPECT_EQ(host.Surface()->geometry(), QRect(0, 0, 120, 90));
    EXPECT_EQ(control.ClientWidth(), 120);
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(255, 0, 0));
}

/// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) ++Paints;
        return QObject::eventFilter(watched, event);
    }
};

// A control whose bars lie over its edges, counting its paints.
class InsideBarsControl : public RecordingControl {
public:
    bool ScrollBarsInside() const override { return true; }
    void Paint(Canvas& canvas) override
    {
        ++Paints;
        RecordingControl::Paint(canvas);
    }
    int Paints = 0;
};

TEST(ControlHostBarsInside, ARepaintOfTheControlLeavesTheBarsOverItAlone)
{
    TestApplication();
    InsideBarsControl control;
    ControlHostWidget host(control);
    host.resize(120, 90);
    host.show();
    control.SetScrollInfo(TScrollBarKind::sbVertical, {0, 99, 10, 5, true});
    control.SetScrollInfo(TScrollBarKind::sbHorizontal, {0, 99, 10, 5, true});
    QCoreApplication::processEvents();
    PaintCounter counter;
    for (QScrollBar* bar : host.findChildren<QScrollBar*>()) bar->installEventFilter(&counter);
    control.Paints = 0;

    control.Invalidate();
    QCoreApplication::processEvents();
    EXPECT_EQ(control.Paints, 1);
    EXPECT_EQ(counter.Paints, 0);

    // Where a bar hides, the control shows again.
    control.SetScrollInfo(TScrollBarKind::sbVertical, {0, 99, 10, 5, false});
    QCoreApplication::processEvents();
    const QImage shot = host.Surface()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() - 3, 5), QColor(255, 0, 0));
}

}  // namespace
