#include "platform/qt/QtWindowPlacement.h"
#include <gtest/gtest.h>
#include <QDialog>
#include "platform/QtTestApplication.h"

namespace {

/// An owner window shown at a place on the screen and a dialog of a fixed size that it opens.
class WindowPlacementQtTest : public ::testing::Test {
protected:
    WindowPlacementQtTest()
    {
        owner.setGeometry(OwnerAt(area.center() - QPoint(150, 100)));
        owner.show();
        dialog.resize(240, 160);
    }

    QRect OwnerAt(QPoint topLeft) const { return {topLeft, QSize(300, 200)}; }
    /// Shows the dialog where placing it put it, then closes it as the user does.
    QRect OpenAndClose()
    {
        dialog.show();
        const QRect shown = dialog.frameGeometry();
        dialog.hide();
        return shown;
    }

    QApplication& app = TestApplication();
    QWidget owner;
    QDialog dialog{&owner};
    const QRect area = WorkAreaOf(&owner);
};

TEST_F(WindowPlacementQtTest, TheFirstOpeningIsCentredOverTheOwnerAndLaterOnesKeepThePlace)
{
    ASSERT_FALSE(area.isEmpty());
    PlaceWindow(&dialog, &owner);
    const QRect first = OpenAndClose();
    EXPECT_EQ(first.center(), owner.frameGeometry().center());
    for (int again = 0; again < 3; ++again) {
        PlaceWindow(&dialog, &owner);
        EXPECT_EQ(OpenAndClose(), first);
    }
    // Where the user moved it, it opens again.
    dialog.show();
    dialog.move(area.topLeft() + QPoint(10, 20));
    dialog.hide();
    PlaceWindow(&dialog, &owner);
    EXPECT_EQ(OpenAndClose().topLeft(), area.topLeft() + QPoint(10, 20));
}

TEST_F(WindowPlacementQtTest, AWindowOpensWhollyOnTheScreenThatHoldsItsOwner)
{
    // The owner near the bottom right corner: centred over it the dialog would hang off the screen.
    owner.setGeometry(OwnerAt(area.bottomRight() - QPoint(200, 100)));
    PlaceWindow(&dialog, &owner);
    const QRect shown = OpenAndClose();
    EXPECT_TRUE(area.contains(shown)) << shown.x() << "," << shown.y();
    EXPECT_EQ(shown.bottomRight(), area.bottomRight());

    // A remembered place that the screen no longer holds comes back onto it.
    dialog.move(area.left() - 500, area.top() - 400);
    PlaceWindow(&dialog, &owner);
    EXPECT_EQ(OpenAndClose().topLeft(), area.topLeft());

    // The frame, as the window system draws it around the dialog.
    const QSize frame = shown.size();
    PlaceWindowAt(&dialog, &owner, {area.right() - 10, area.top() + 30});
    EXPECT_EQ(OpenAndClose(), QRect(QPoint(area.right() + 1 - frame.width(), area.top() + 30), frame));
}

TEST_F(WindowPlacementQtTest, AFirstSizeStaysWithinTheScreen)
{
    EXPECT_EQ(FirstWindowSize(&owner, QSize(400, 300)), QSize(400, 300));
    const QSize huge = FirstWindowSize(&owner, QSize(area.width() * 2, area.height() * 2));
    EXPECT_LE(huge.width(), area.width());
    EXPECT_LE(huge.height(), area.height());
    EXPECT_GT(huge.width(), area.width() / 2);
}

} // namespace
