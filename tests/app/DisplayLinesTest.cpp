#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "app/DisplayLines.h"
#include "app/StartupFixture.h"
#include "app/TextViewerFixture.h"
#include "platform/Folders.h"
#include "support/ScriptedDialogs.h"

namespace {

std::vector<std::u16string> Lines(const TSimpleTerminal& term)
{
    TStringList lines;
    GetDisplayLines(term, lines);
    std::vector<std::u16string> out;
    for (int i = 0; i < lines.Count(); ++i) out.push_back(lines[i]);
    return out;
}

TEST(DisplayLines, OneLinePerRowUpToTheLastShownCharacterWithoutTrailingBlanks)
{
    struct Case {
        const char16_t* written;
        std::vector<std::u16string> lines;
    } cases[] = {
        {u"", {}},
        {u"abc   ", {u"abc"}},
        {u"a\r\n\r\n\r\n  d", {u"a", u"", u"", u"  d"}},
        {u"\r\n\r\nx", {u"", u"", u"x"}},
        {u"a\xE9\tz", {u"a\xE9      z"}},
    };
    for (const Case& c : cases) {
        TSimpleTerminal term;
        term.WriteString(c.written);
        EXPECT_EQ(Lines(term), c.lines) << ToUtf8(c.written);
    }

    // Only the used size counts.
    TSimpleTerminal term;
    term.WriteString(u"abcdef");
    term.GotoXY(0, 23);
    term.WriteString(u"last");
    term.SetColumns(3);
    term.SetRows(20);
    EXPECT_EQ(Lines(term), std::vector<std::u16string>{u"abc"});
    term.ClrScreen();
    EXPECT_TRUE(Lines(term).empty());
}

TEST(DisplayLines, SaveWritesEightBitTextWithCrLfAndReplacesTheFileWhole)
{
    TempFolder folder;
    TSimpleTerminal term;
    term.WriteString(u"abc   \r\n\r\n  x\xFC");
    EXPECT_EQ(SaveDisplayText(term, folder.Name("screen.txt")), u"");
    EXPECT_EQ(folder.Read("screen.txt"), "abc\r\n\r\n  x\xFC\r\n");

    term.ClrScreen();
    EXPECT_EQ(SaveDisplayText(term, folder.Name("screen.txt")), u"");
    EXPECT_EQ(folder.Read("screen.txt"), "");

    // A file that cannot be written is reported, and the folder keeps no half-written file.
    EXPECT_NE(SaveDisplayText(term, folder.Name("missing/screen.txt")), u"");
}

class SnapshotActionsTest : public StartupTest {
protected:
    SnapshotActionsTest()
    {
        window.FormCreate();
        TextViewer = &viewer;
    }

    ScriptedDialogs dialogs;
    TTavloTerminal window{view};
    RecordingTextViewerView viewerView;
    TTextViewer viewer{viewerView};
};

TEST_F(SnapshotActionsTest, SaveDisplayAsksForATextFileAndWritesTheScreen)
{
    // Code 0 clears the screen: the file is empty.
    window.RxChar(nullptr, 0);
    dialogs.FileAnswers = {appData.Name("empty.txt")};
    EXPECT_TRUE(window.TermSaveDisplayTextAct->Execute());
    ASSERT_EQ(dialogs.SaveRequests.size(), 1u);
    EXPECT_EQ(dialogs.SaveRequests[0].Title, u"Save Display As Text");
    EXPECT_EQ(dialogs.SaveRequests[0].Filter, u"Text File|*.txt");
    EXPECT_EQ(dialogs.SaveRequests[0].DefaultExt, u".txt");
    EXPECT_TRUE(FileExists(appData.Name("empty.txt")));
    EXPECT_EQ(appData.Read("empty.txt"), "");

    for (char c : std::string("abc   \r\n\r\n  x")) window.RxChar(nullptr, std::uint8_t(c));
    dialogs.FileAnswers = {appData.Name("screen.txt")};
    window.TermSaveDisplayTextAct->Execute();
    EXPECT_EQ(appData.Read("screen.txt"), "abc\r\n\r\n  x\r\n");

    // Cancelled: nothing written, nothing said.
    dialogs.FileAnswers = {u""};
    window.TermSaveDisplayTextAct->Execute();
    EXPECT_TRUE(dialogs.Questions.empty());
    // A failure is told, not passed over.
    dialogs.FileAnswers = {appData.Name("no/such/folder.txt")};
    window.TermSaveDisplayTextAct->Execute();
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text.rfind(u"Unable to save the display: ", 0), 0u);

    window.InPaste = true;
    EXPECT_FALSE(window.TermSaveDisplayTextAct->Execute());
}

TEST_F(SnapshotActionsTest, UpdateSnapshotFillsAndShowsTheViewerWithTheCaretAtTheStart)
{
    for (char c : std::string("first\r\nsecond")) window.RxChar(nullptr, std::uint8_t(c));
    viewer.SetLines([] {
        TStringList old;
        old.Add(u"old text");
        return old;
    }());
    viewer.SetSelection(4, 2);
    EXPECT_TRUE(window.TermScreenSnapshotAct->Execute());
    EXPECT_EQ(viewer.Text(), u"first\nsecond");
    EXPECT_EQ(viewerView.Text, u"first\nsecond");
    EXPECT_EQ(viewerView.SelStart, 0);
    EXPECT_EQ(viewerView.SelLength, 0);
    EXPECT_EQ(viewer.StatusPanel(1), u"1");
    EXPECT_EQ(viewer.StatusPanel(3), u"1");
    EXPECT_FALSE(viewer.StatusPanel(5).empty());
    EXPECT_EQ(viewerView.Shown, 1);

    // View Snapshot shows what is there; the terminal goes on without it.
    window.RxChar(nullptr, 'x');
    EXPECT_TRUE(window.TermViewSnapshorAct->Execute());
    EXPECT_EQ(viewer.Text(), u"first\nsecond");
    EXPECT_EQ(viewerView.Shown, 2);
}

}  // namespace
