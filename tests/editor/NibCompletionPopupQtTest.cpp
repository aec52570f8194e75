#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include "editor/NibCompletionPopupForm.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/QtCanvas.h"

namespace {

/// The completion list in its window, its items in the test face.
class CompletionPopupQt : public ::testing::Test {
protected:
    CompletionPopupQt() { popup.SetItemFont(InTestFace(popup.ItemFont())); }

    void Fill(int count)
    {
        TStringList items;
        for (int i = 0; i < count; ++i) items.Add(u"item " + IntToStr(i));
        popup.SetItemList(items);
    }

    void SendMouse(QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, pos, window.mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &e);
    }

    QtTestGraphics graphics;
    TNibBaseCompletionProposalForm popup;
    TNibCompletionPopupForm window{popup};
};

}  // namespace

TEST_F(CompletionPopupQt, ShowsWhereItIsPlacedAndTakesKeys)
{
    Fill(20);
    popup.SetWindowBounds({100, 120, 360, 120 + 8 * popup.EffectiveItemHeight() + 2 * window.FrameThickness()});
    popup.Show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(popup.WindowBounds(), (TRect{100, 120, 360, 120 + 8 * popup.EffectiveItemHeight() + 8}));
    EXPECT_EQ(popup.LinesInWindow(), 8);

    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(window.Host()->Surface(), &down);
    EXPECT_EQ(popup.Position(), 1);

    popup.Hide();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(CompletionPopupQt, DraggingTheBottomEdgeSnapsToWholeRows)
{
    Fill(20);
    const int h = popup.EffectiveItemHeight();
    popup.SetWindowBounds({50, 50, 250, 50 + 4 * h + 8});
    popup.Show();
    QCoreApplication::processEvents();
    const QPoint edge(100, window.height() - 2);
    SendMouse(QEvent::MouseButtonPress, edge, Qt::LeftButton);
    SendMouse(QEvent::MouseMove, edge + QPoint(0, 2 * h + h / 2), Qt::LeftButton);
    SendMouse(QEvent::MouseButtonRelease, edge + QPoint(0, 2 * h + h / 2), Qt::NoButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.height(), 6 * h + 8);
    EXPECT_EQ(popup.LinesInWindow(), 6);
    EXPECT_EQ(window.y(), 50);
}

TEST_F(CompletionPopupQt, TheSelectedRowIsDrawnInTheSelectionColour)
{
    Fill(3);
    popup.SetClSelect(0x0000FF);
    popup.SetClBackground(0xFFFFFF);
    popup.SetWindowBounds({0, 0, 200, 4 * popup.EffectiveItemHeight() + 8});
    popup.Show();
    QCoreApplication::processEvents();
    popup.SetPosition(1);
    const QImage image = window.grab().toImage();
    const int h = popup.EffectiveItemHeight();
    EXPECT_EQ(image.pixelColor(150, 4 + h + h / 2), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(150, 4 + h / 2), QColor(255, 255, 255));
}
