#include <limits>
#include <string>
#include "app/TerminalFixture.h"
#include "platform/ExceptionGuard.h"

namespace {

class Paste : public TerminalTest {
protected:
    void PasteLines(std::initializer_list<const char16_t*> lines)
    {
        TStringList list;
        for (const char16_t* line : lines) list.Add(line);
        window.StartPaste(&list);
    }
    void Tick(int ms) { loop.AdvanceMs(ms); }
    int CursorRow() const
    {
        int column = 0, row = 0;
        window.SimpleTerminal1.GetXY(column, row);
        return row;
    }
};

TEST_F(Paste, SendsOneLinePerTickAndStopsAfterAForthError)
{
    pty.SetMode(FakeTarget::Mode::Prompt);
    pty.SetUnknownWord("foo");
    window.Options->PasteTextLineDelayMS = 100;
    ConnectSerial();
    PasteLines({u"1 2 +", u"foo", u"3 4 +"});
    EXPECT_TRUE(window.InPaste);
    EXPECT_FALSE(window.TermPasteAct->Enabled);
    EXPECT_TRUE(window.AbortPasteAct->Enabled);

    Tick(99);
    loop.RunPending();
    EXPECT_EQ(pty.Received(), "");
    Tick(1);
    ASSERT_TRUE(Arrived(pty, 6));
    ASSERT_TRUE(loop.RunUntil([&] { return CursorRow() == 1; }));  // the reply's line has ended
    EXPECT_EQ(pty.Received(), "1 2 +\r");

    Tick(100);
    ASSERT_TRUE(loop.RunUntil([&] { return window.AbortPaste; }));
    EXPECT_EQ(pty.Received(), "1 2 +\rfoo\r");

    Tick(100);
    EXPECT_FALSE(window.InPaste);
    Tick(1000);
    loop.RunPending();
    EXPECT_EQ(pty.Received(), "1 2 +\rfoo\r");
    EXPECT_EQ(window.PasteTextLinesBuffer->Count(), 1);
}

TEST_F(Paste, ClipboardLinesEachEndInCrAndNoEmptyLineFollows)
{
    window.Options->PasteTextLineDelayMS = 0;
    ConnectSerial();
    clipboard.SetText(u"x\n\ny\n");
    window.TermPasteAct->Update();
    ASSERT_TRUE(window.TermPasteAct->Execute());
    Tick(10);
    Tick(10);
    Tick(10);
    ASSERT_TRUE(Arrived(pty, 5));
    Tick(10);
    Tick(100);
    loop.RunPending();
    EXPECT_EQ(pty.Received(), "x\r\ry\r");
    EXPECT_FALSE(window.InPaste);
}

TEST_F(Paste, ADelayBeyondTheTimersRangeStillSendsTheLines)
{
    window.Options->PasteTextLineDelayMS = 3000000000u;
    ConnectSerial();
    PasteLines({u"x"});
    Tick(std::numeric_limits<int>::max());
    ASSERT_TRUE(Arrived(pty, 2));
    EXPECT_EQ(pty.Received(), "x\r");
}

TEST_F(Paste, AnAbortedPasteIsReplacedByTheNextOne)
{
    window.Options->PasteTextLineDelayMS = 500;
    ConnectSerial();
    PasteLines({u"old 1", u"old 2"});
    Tick(500);
    ASSERT_TRUE(window.AbortPasteAct->Execute());
    PasteLines({u"new"});
    Tick(500);
    Tick(500);
    ASSERT_TRUE(Arrived(pty, 10));
    loop.RunPending();
    EXPECT_EQ(pty.Received(), "old 1\rnew\r");
}

TEST_F(Paste, AStuckSendAsksRetryOrCancelAndCancelEndsTheLinkOnce)
{
    TComSoftwareFlow& flow = window.Options->ComPortOptions.SoftwareFlow();
    flow.SetXonChar(19);
    flow.SetXoffChar(17);
    flow.SetTxFlow(true);
    window.Options->PasteTextLineDelayMS = 100;
    ConnectSerial();
    // XOFF: the port holds its output. The line takes its input in order, so once the mark
    // that follows has arrived, the port has stopped.
    pty.Send("\x11M");
    ASSERT_TRUE(loop.RunUntil([&] { return window.SimpleTerminal1.GetCharAtXY(0, 0).Character == u'M'; }));

    int questionsWhileOpen = 0;
    dialogs.Answers = {TModalResult::mrRetry, TModalResult::mrCancel};
    dialogs.WhileOpen = [&](const ScriptedDialogs::Question&) {
        // Ticks of the paste while the question is shown must neither send nor ask.
        const std::size_t asked = dialogs.Questions.size();
        loop.AdvanceMs(1000);
        questionsWhileOpen += int(dialogs.Questions.size() - asked);
    };
    PasteLines({u"abc", u"def"});
    RunGuarded([&] { Tick(100); });

    ASSERT_EQ(dialogs.Questions.size(), 3u);
    EXPECT_EQ(dialogs.Questions[0].Text, u"The terminal timed out attempting to send data.");
    EXPECT_EQ(dialogs.Questions[0].Buttons, TMsgButtons::RetryCancel);
    EXPECT_EQ(dialogs.Questions[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(dialogs.Questions[1].Text, dialogs.Questions[0].Text);
    EXPECT_EQ(dialogs.Questions[2].Text, u"The terminal connection was closed.");
    EXPECT_EQ(questionsWhileOpen, 0);
    EXPECT_FALSE(ConnectionMod->IsActive());
    EXPECT_EQ(view.Caption, DesignCaption);
    EXPECT_FALSE(window.InPaste);
    EXPECT_TRUE(window.AbortPaste);

    dialogs.WhileOpen = nullptr;
    Tick(1000);
    EXPECT_EQ(dialogs.Questions.size(), 3u);
}

TEST_F(Paste, ALinkThatDropsEndsThePasteAndSaysSo)
{
    window.Options->PasteTextLineDelayMS = 100;
    ConnectTcp();
    PasteLines({u"one", u"two", u"three"});
    Tick(100);
    ASSERT_TRUE(Arrived(tcp, 4));
    tcp.HangUp();
    ASSERT_TRUE(loop.RunUntil([&] { return !ConnectionMod->IsActive(); }));
    EXPECT_FALSE(window.InPaste);
    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_NE(dialogs.Questions[0].Text.find(u"2 lines were not sent"), UnicodeString::npos);
    EXPECT_EQ(view.Caption, DesignCaption);

    // A link opened later gets none of the old lines.
    ConnectSerial();
    Tick(1000);
    loop.RunPending();
    EXPECT_EQ(pty.Received(), "");
}

TEST_F(Paste, ThePasteIntervalIsAtLeastTenMilliseconds)
{
    for (std::uint32_t delay : {0u, 500u}) {
        window.Options->PasteTextLineDelayMS = delay;
        PasteLines({u"x"});
        EXPECT_EQ(window.PasteLineTimer.Interval(), delay == 0 ? 10 : 500);
    }
}

}  // namespace

namespace {

TEST_F(Paste, AFileIsPastedAsTextOrAsBlocksByItsName)
{
    window.Options->PasteTextLineDelayMS = 10;
    ConnectSerial();
    const std::string record = std::string(": sq dup * ;") + std::string(52, ' ');
    keyFolder.Write("words.BLK", record + std::string(64, ' '));
    keyFolder.Write("words.txt", "1 2 +\r\n3\n");
    dialogs.FileAnswers = {keyFolder.Name("words.BLK"), keyFolder.Name("words.txt")};
    for (const char* expected : {": sq dup * ;\r\r", ": sq dup * ;\r\r1 2 +\r3\r"}) {
        window.Terminal.UpdateActions();
        ASSERT_TRUE(window.UploadTextFile->Execute());
        for (int tick = 0; tick < 4; ++tick) Tick(10);
        ASSERT_TRUE(Arrived(pty, std::string(expected).size()));
        EXPECT_EQ(pty.Received(), expected);
    }
    EXPECT_EQ(dialogs.OpenRequests[0].Title, u"Select File To Paste");
}

TEST_F(Paste, AnUnreadableFileStartsNoPaste)
{
    ConnectSerial();
    dialogs.FileAnswers = {keyFolder.Name("missing.txt")};
    EXPECT_ANY_THROW(window.UploadTextFile->Execute());
    EXPECT_FALSE(window.InPaste);
}

}  // namespace
