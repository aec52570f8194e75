#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>
#include <memory>

#include "editor/NibEdit.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/QtCanvas.h"
#include "support/MemoryClipboard.h"

namespace {

/// The editor in its Qt host, taking keys as the toolkit delivers them.
class EditorKeysQtTest : public ::testing::Test {
protected:
    EditorKeysQtTest()
    {
        edit = std::make_unique<TNibEdit>();
        edit->SetWantTabs(true);  // as the code editor page has it
        host = std::make_unique<ControlHostWidget>(*edit);
        host->resize(300, 200);
    }
    ~EditorKeysQtTest() override
    {
        host.reset();
        edit.reset();
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(host->Surface(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(host->Surface(), &release);
    }

    QtTestGraphics graphics;
    MemoryClipboard clipboard;
    std::unique_ptr<TNibEdit> edit;
    std::unique_ptr<ControlHostWidget> host;
};

} // namespace

TEST_F(EditorKeysQtTest, EachKeyActsOnceThroughTheToolkit)
{
    Key(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    Key(Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    Key(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    Key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    Key(Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    Key(Qt::Key_C, Qt::NoModifier, QStringLiteral("c"));
    EXPECT_EQ(edit->Text(), u"a\r\n c");  // a smart tab: to the column after the word above
    Key(Qt::Key_Left);
    Key(Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(edit->SelText(), u" ");
    Key(Qt::Key_Z, Qt::ControlModifier, QStringLiteral("\x1a"));  // the typed run goes
    EXPECT_EQ(edit->Text(), u"a\r\n");
}

TEST_F(EditorKeysQtTest, TabAndEnterReachTheEditorOnlyWhileItWantsThem)
{
    edit->SetWantTabs(false);
    edit->SetWantReturns(false);
    Key(Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    Key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    Key(Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    Key(Qt::Key_Left);
    Key(Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    EXPECT_EQ(edit->Text(), u"ba");
}

TEST_F(EditorKeysQtTest, DraggingTheThumbShowsTheTopLineInAHintWindowUntilTheDragEnds)
{
    for (int i = 1; i <= 200; ++i) edit->Lines().Add(u"line " + IntToStr(i));
    host->show();
    edit->Scroll(TScrollBarKind::sbVertical, TScrollCode::scTrack, 120);
    QLabel* hint = host->HintWindow();
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), QStringLiteral("Top Line: 120"));
    // At the right edge of the editor, 4 pixels in.
    const QPoint right = host->Surface()->mapToGlobal(QPoint(host->Surface()->width() - 4, 0));
    EXPECT_EQ(hint->geometry().right() + 1, right.x());
    edit->Scroll(TScrollBarKind::sbVertical, TScrollCode::scEndScroll, 120);
    EXPECT_FALSE(hint->isVisible());
}

TEST_F(EditorKeysQtTest, FilesFromTheDesktopAreDroppedOnlyWithDropFiles)
{
    std::vector<UnicodeString> dropped;
    TPoint at;
    edit->OnDropFiles = [&](TObject*, int X, int Y, const TStringList& Files) {
        for (int i = 0; i < Files.Count(); ++i) dropped.push_back(Files[i]);
        at = {X, Y};
    };
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b.f")), QUrl(QStringLiteral("https://example.org/x")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/c.f"))});
    auto drag = [&] {
        QDragEnterEvent enter(QPoint(40, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(host->Surface(), &enter);
        QDropEvent drop(QPointF(40, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(host->Surface(), &drop);
        return enter.isAccepted();
    };
    EXPECT_FALSE(drag());
    EXPECT_TRUE(dropped.empty());

    edit->SetOptions(TNibEditorOptions(edit->Options()).Include(eoDropFiles));
    EXPECT_TRUE(drag());
    EXPECT_EQ(dropped, (std::vector<UnicodeString>{u"/tmp/a b.f", u"/tmp/c.f"}));
    EXPECT_EQ(at, (TPoint{40, 20}));
}

TEST_F(EditorKeysQtTest, DraggingTheSelectionShowsACopyCursorWhileCtrlIsHeld)
{
    edit->Lines().Add(u"abcdef abcdef");
    edit->Lines().Add(u"second line");
    host->show();
    edit->SetCaretAndSelection({7, 1}, {1, 1}, {7, 1});
    // The middle of a character cell, in the surface's pixels.
    auto at = [&](int column, int row) {
        const TPoint p = edit->RowColumnToPixels({column, row});
        return QPointF(p.X + edit->CharWidth() / 2, p.Y + edit->LineHeight() / 2);
    };
    auto mouse = [&](QEvent::Type type, QPointF p, Qt::KeyboardModifiers modifiers) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, p, host->Surface()->mapToGlobal(p), button, held, modifiers);
        QCoreApplication::sendEvent(host->Surface(), &e);
    };
    auto ctrl = [&](QEvent::Type type) {
        QKeyEvent e(type, Qt::Key_Control, type == QEvent::KeyPress ? Qt::ControlModifier : Qt::NoModifier);
        QCoreApplication::sendEvent(host->Surface(), &e);
    };
    auto shown = [&] { return host->Surface()->cursor().shape(); };

    mouse(QEvent::MouseMove, at(3, 1), Qt::NoModifier);
    EXPECT_EQ(shown(), Qt::ArrowCursor);  // over the selection, which can be dragged
    mouse(QEvent::MouseButtonPress, at(3, 1), Qt::NoModifier);
    mouse(QEvent::MouseMove, at(9, 2), Qt::NoModifier);
    ASSERT_TRUE(edit->Dragging());
    mouse(QEvent::MouseMove, at(10, 2), Qt::NoModifier);
    EXPECT_EQ(shown(), Qt::DragMoveCursor);
    mouse(QEvent::MouseMove, at(11, 2), Qt::ControlModifier);
    EXPECT_EQ(shown(), Qt::DragCopyCursor);
    ctrl(QEvent::KeyRelease);
    EXPECT_EQ(shown(), Qt::DragMoveCursor);
    ctrl(QEvent::KeyPress);
    EXPECT_EQ(shown(), Qt::DragCopyCursor);
    mouse(QEvent::MouseButtonRelease, at(11, 2), Qt::ControlModifier);
    EXPECT_EQ(edit->Lines()[1], u"second linabcdefe");  // copied to the nearest place between characters
    EXPECT_EQ(edit->Lines()[0], u"abcdef abcdef");
    mouse(QEvent::MouseMove, at(2, 2), Qt::NoModifier);
    EXPECT_EQ(shown(), Qt::IBeamCursor);
}

TEST_F(EditorKeysQtTest, ASingleBorderIsALineAroundTheEditorAndNoneIsNothing)
{
    host->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(edit->BorderStyle(), bsSingle);
    EXPECT_EQ(host->frameWidth(), 1);
    EXPECT_EQ(edit->ClientWidth(), host->Surface()->width());
    const int framed = edit->ClientWidth();
    edit->SetBorderStyle(bsNone);
    QCoreApplication::processEvents();
    EXPECT_EQ(host->frameWidth(), 0);
    EXPECT_EQ(edit->ClientWidth(), framed + 2);
    const QImage shot = host->grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), shot.pixelColor(1, 1));  // the gutter reaches the corner
}
