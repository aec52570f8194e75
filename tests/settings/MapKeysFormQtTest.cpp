#include "settings/MapKeysForm.h"

#include <gtest/gtest.h>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include "platform/QtTestApplication.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace {

class MapKeysFormTest : public ::testing::Test {
protected:
    void SelectRow(int row)
    {
        form.ListBox1()->setCurrentRow(row);
        emit form.ListBox1()->itemClicked(form.ListBox1()->item(row));
    }

    QApplication& app = TestApplication();
    TempFolder folder;
    // The load and save dialogs start in the key-map folder, which must not be the user's.
    AppDataAt appDataAt{folder.Path()};
    ScriptedDialogs dialogs;
    TMapTermKeys keys{folder.Name("default.kmap")};
    TMapTermKeysForm form{keys};
};

TEST_F(MapKeysFormTest, ListsTheKeysWithCaptionsWideEnoughForEveryState)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Map Terminal Keys"));
    EXPECT_EQ(form.ListBox1()->count(), MapKeyCount);
    EXPECT_EQ(form.KeyState(), 0);
    QFontMetrics metrics = form.ListBox1()->fontMetrics();
    EXPECT_GE(form.MaxLableWidth(), metrics.horizontalAdvance(QStringLiteral("Shift-Right Arrow")) + 4);
    EXPECT_EQ(form.UpdateKeysBtn()->toolTip(), QStringLiteral("Update selected key mapping"));
    EXPECT_EQ(form.LoadKeyMapBtn()->toolTip(), QStringLiteral("Load a key mappings from a saved key map file"));
}

TEST_F(MapKeysFormTest, UpdateStoresTheBindingOfTheSelectedKeyAndStateInCaretForm)
{
    // Nothing selected: Update does nothing.
    form.Edit1()->setText(QStringLiteral("lost"));
    form.UpdateKeysBtn()->click();
    EXPECT_EQ(keys.Settings().SectionCount(), 0);

    form.SetKeyState(1);
    SelectRow(11);
    form.Edit1()->setText(QStringLiteral("^a^^x"));
    form.UpdateKeysBtn()->click();
    EXPECT_EQ(keys.GetKeyMapping(11, 1), u"^A^^x");
    EXPECT_EQ(form.Edit1()->text(), QStringLiteral("^A^^x"));
    EXPECT_EQ(keys.MappKey(112, ssShift), u"\x01^x");

    // Clicking a row shows its binding in the chosen state.
    form.SetKeyState(0);
    SelectRow(11);
    EXPECT_EQ(form.Edit1()->text(), QString());
    form.SetKeyState(1);
    SelectRow(11);
    EXPECT_EQ(form.Edit1()->text(), QStringLiteral("^A^^x"));
}

TEST_F(MapKeysFormTest, LoadReplacesTheBindingsAndEveryCloseSavesTheDefaultFile)
{
    folder.Write("other.kmap", "[State_Ctrl]\r\nF2=^[OQ\r\n");
    dialogs.FileAnswers.push_back(folder.Name("other.kmap"));
    form.LoadKeyMapBtn()->click();
    EXPECT_EQ(keys.GetKeyMapping(12, 2), u"^[OQ");

    form.reject();
    EXPECT_EQ(TMapTermKeys(folder.Name("default.kmap")).GetKeyMapping(12, 2), u"^[OQ");
}

} // namespace
