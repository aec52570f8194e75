#include <gtest/gtest.h>

#include "editor/NibCompletionPopup.h"
#include "support/RecordingCanvas.h"

namespace {

/// An editor that records the commands it gets.
class FakeCompletionEditor : public TNibCompletionEditor {
public:
    bool AlwaysShowCaret() const override { return fAlwaysShowCaret; }
    void SetAlwaysShowCaret(bool Value) override
    {
        fAlwaysShowCaret = Value;
        CaretSettings.push_back(Value);
    }
    bool EditorFocused() const override { return Focused; }
    void SetEditorFocus() override { ++FocusRequests; }
    void AddFocusControl(Control* AControl) override { FocusList.push_back(AControl); }
    void RemoveFocusControl(Control* AControl) override { std::erase(FocusList, AControl); }
    void CommandProcessor(TNibEditorCommand Command, char16_t AChar, void* Data) override
    {
        Commands.push_back({Command, AChar});
    }
    UnicodeString LineText() const override { return Line; }
    int CaretX() const override { return Caret; }

    bool Focused = true;
    bool fAlwaysShowCaret = false;
    std::vector<bool> CaretSettings;
    int FocusRequests = 0;
    std::vector<Control*> FocusList;
    std::vector<std::pair<TNibEditorCommand, char16_t>> Commands;
    UnicodeString Line;
    int Caret = 1;
};

class FakePopupWindow : public TNibPopupWindow {
public:
    void ShowPopup(bool TakeKeys) override { Shown.push_back(TakeKeys); }
    void HidePopup() override { ++Hidden; }
    TRect PopupBounds() const override { return Bounds; }
    void SetPopupBounds(const TRect& Value) override { Bounds = Value; }
    int FrameThickness() const override { return 3; }
    int ScrollBarWidth() const override { return 15; }
    void RecreateWindow() override { ++Recreated; }

    std::vector<bool> Shown;
    int Hidden = 0;
    TRect Bounds;
    int Recreated = 0;
};

TStringList List(std::initializer_list<const char16_t*> items)
{
    TStringList list;
    for (const char16_t* item : items) list.Add(item);
    return list;
}

}  // namespace

class CompletionPopup : public ::testing::Test {
protected:
    /// A list of `rows` rows of 16 pixels without a title.
    void SetUpForm(const TStringList& items, int rows = 4)
    {
        form.SetWindow(&window);
        form.SetCurrentEditor(&editor);
        form.SetBounds(0, 0, 200, rows * 16);
        form.SetItemList(items);
        form.OnValidate = [this](TObject*, TShiftState shift, char16_t endToken) {
            Events.push_back("validate " + std::to_string(shift) + " " + std::to_string(int(endToken)));
        };
        form.OnCancel = [this](TObject*) { Events.push_back("cancel"); };
        form.OnKeyPress = [this](TObject*, char16_t& key) { Events.push_back("key " + std::to_string(int(key))); };
        form.OnChangePosition = [this](TObject*, int index) { Events.push_back("change " + std::to_string(index)); };
    }

    /// The filtered items, joined by blanks.
    std::string Shown() const
    {
        std::string out;
        for (int i = 0; i < form.AssignedCount(); ++i) out += (i ? " " : "") + ToUtf8(form.AssignedItem(i));
        return out;
    }

    void Key(std::uint16_t key, TShiftState shift = 0) { form.KeyDown(key, shift); }
    void Char(char16_t c) { form.KeyPress(c); }

    RecordingGraphicsFactory factory;
    FakeCompletionEditor editor;
    FakePopupWindow window;
    TNibBaseCompletionProposalForm form;
    std::vector<std::string> Events;
};

TEST_F(CompletionPopup, FilteringByTheTypedTextWithAndWithoutCase)
{
    SetUpForm(List({u"DUP", u"DROP", u"SWAP", u"dup2"}));
    form.SetMatchText(true);
    const struct {
        bool CaseSensitive;
        const char16_t* Filter;
        const char* Shown;
    } cases[] = {
        {false, u"", "DUP DROP SWAP dup2"}, {false, u"d", "DUP DROP dup2"}, {true, u"d", "dup2"},
        {false, u"DU", "DUP dup2"},         {true, u"DU", "DUP"},           {false, u"x", ""},
        {false, u"dup2x", ""},
    };
    for (const auto& c : cases) {
        form.SetCaseSensitive(c.CaseSensitive);
        form.SetCurrentString(c.Filter);
        EXPECT_EQ(Shown(), c.Shown) << ToUtf8(c.Filter) << " case " << c.CaseSensitive;
    }
    // Backspace takes the filter back to "dup2" and the editor deletes the typed character too.
    form.SetCaseSensitive(false);
    Key(VK::BACK);
    EXPECT_EQ(form.CurrentString(), u"dup2");
    EXPECT_EQ(Shown(), "dup2");
    EXPECT_EQ(editor.Commands.back(), (std::pair<TNibEditorCommand, char16_t>{ecDeleteLastChar, 0}));
    EXPECT_TRUE(Events.empty());
}

TEST_F(CompletionPopup, WithoutFilteringTheSelectionJumpsToTheFirstMatch)
{
    SetUpForm(List({u"alpha", u"beta", u"bravo", u"gamma"}));
    form.SetCurrentString(u"br");
    EXPECT_EQ(form.Position(), 2);
    EXPECT_EQ(form.AssignedCount(), 4);
    form.SetCurrentString(u"zz");
    EXPECT_EQ(form.Position(), 0);
    EXPECT_EQ(form.LogicalToPhysicalIndex(3), 3);
    EXPECT_EQ(form.PhysicalToLogicalIndex(3), 3);

    // An empty list leaves no selection behind on a row it does not have.
    form.SetPosition(3);
    form.SetItemList(List({}));
    EXPECT_EQ(form.Position(), 0);
}

TEST_F(CompletionPopup, MatchingAgainstTheInsertListOrThePlainTextOfPrettyItems)
{
    SetUpForm(List({u" \\column{}\\style{+B}DUP\\style{-B} ( n -- n n )", u" \\style{+B}DROP\\style{-B} ( n -- )",
                    u" \\style{+B}SWAP\\style{-B} ( a b -- b a )"}));
    form.SetMatchText(true);
    form.SetFormattedText(true);
    form.SetInsertList(List({u"DUP", u"DROP", u"SWAP"}));
    form.SetUseInsertList(true);
    form.SetCurrentString(u"S");
    ASSERT_EQ(form.AssignedCount(), 1);
    EXPECT_EQ(form.AssignedIndex(0), 2);
    EXPECT_EQ(form.LogicalToPhysicalIndex(0), 2);
    EXPECT_EQ(form.PhysicalToLogicalIndex(2), 0);
    EXPECT_EQ(form.PhysicalToLogicalIndex(0), -1);

    // Without the insert list the item's plain text counts, leading blank included.
    form.SetUseInsertList(false);
    form.SetCurrentString(u"D");
    EXPECT_EQ(form.AssignedCount(), 0);
    form.SetCurrentString(u" DR");
    EXPECT_EQ(form.AssignedCount(), 1);

    // An item without an insert entry matches only the empty filter.
    form.SetUseInsertList(true);
    form.SetInsertList(List({u"DUP"}));
    form.SetCurrentString(u"");
    EXPECT_EQ(form.AssignedCount(), 3);
    form.SetCurrentString(u"D");
    EXPECT_EQ(form.AssignedCount(), 1);
}

TEST_F(CompletionPopup, SelectionMovesAndTheListScrollsWithIt)
{
    SetUpForm(List({u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9"}));
    EXPECT_EQ(form.LinesInWindow(), 4);
    for (int i = 0; i < 5; ++i) Key(VK::DOWN);
    EXPECT_EQ(form.Position(), 5);
    EXPECT_EQ(form.TopRow(), 2);
    Key(VK::NEXT);
    EXPECT_EQ(form.Position(), 9);
    Key(VK::NEXT);
    EXPECT_EQ(form.Position(), 9);
    EXPECT_EQ(form.TopRow(), 6);
    Key(VK::PRIOR);
    Key(VK::UP);
    EXPECT_EQ(form.Position(), 4);
    EXPECT_EQ(form.TopRow(), 4);
    Key(VK::PRIOR);
    Key(VK::PRIOR);
    EXPECT_EQ(form.Position(), 0);
    EXPECT_EQ(form.TopRow(), 0);
    Key(VK::END);
    EXPECT_EQ(form.Position(), 9);
    Key(VK::UP, ssCtrl);
    EXPECT_EQ(form.Position(), 0);
    Key(VK::DOWN, ssCtrl);
    EXPECT_EQ(form.Position(), 9);
    Key(VK::HOME);
    EXPECT_EQ(form.Position(), 0);

    // Rows outside the list are refused; rows above the first become the first.
    form.SetPosition(10);
    EXPECT_EQ(form.Position(), 0);
    form.SetPosition(3);
    form.SetPosition(-2);
    EXPECT_EQ(form.Position(), 0);
}

TEST_F(CompletionPopup, PositionChangesAreReportedWhileTheListShows)
{
    SetUpForm(List({u"ab", u"b", u"ac"}));
    form.SetMatchText(true);
    form.SetPosition(1);
    EXPECT_TRUE(Events.empty());
    form.Show();
    form.SetCurrentString(u"a");
    Key(VK::DOWN);
    EXPECT_EQ(Events, (std::vector<std::string>{"change 0", "change 2"}));
}

TEST_F(CompletionPopup, ScrollBarRange)
{
    const struct {
        int Items;
        int Max;
        int Page;
    } cases[] = {{2, 0, 0}, {4, 0, 0}, {5, 1, 1}, {12, 8, 1}};
    for (const auto& c : cases) {
        TStringList items;
        for (int i = 0; i < c.Items; ++i) items.Add(IntToStr(i));
        SetUpForm(items);
        const TScrollInfo& info = form.ScrollInfo(TScrollBarKind::sbVertical);
        EXPECT_EQ(info.Max, c.Max) << c.Items;
        EXPECT_EQ(info.Page, c.Page) << c.Items;
    }
}

TEST_F(CompletionPopup, ScrollingDragsTheSelectionAlongAndGivesTheFocusBack)
{
    SetUpForm(List({u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9"}));
    form.Scroll(TScrollBarKind::sbVertical, TScrollCode::scTrack, 3);
    EXPECT_EQ(form.TopRow(), 3);
    EXPECT_EQ(form.Position(), 3);
    form.Scroll(TScrollBarKind::sbVertical, TScrollCode::scPageDown, 3);
    EXPECT_EQ(form.TopRow(), 6);
    EXPECT_EQ(form.Position(), 6);
    form.Scroll(TScrollBarKind::sbVertical, TScrollCode::scLineUp, 6);
    EXPECT_EQ(form.Position(), 6);
    form.Scroll(TScrollBarKind::sbVertical, TScrollCode::scTop, 0);
    EXPECT_EQ(form.Position(), 3);
    form.Scroll(TScrollBarKind::sbVertical, TScrollCode::scBottom, 0);
    EXPECT_EQ(form.TopRow(), 6);
    EXPECT_EQ(form.Position(), 6);
    EXPECT_EQ(editor.FocusRequests, 5);
    EXPECT_EQ(editor.CaretSettings.back(), true);
}

TEST_F(CompletionPopup, EditingKeysGoToTheEditor)
{
    SetUpForm(List({u"DUP"}));
    editor.Line = u"DU(x";
    editor.Caret = 3;
    form.SetEndOfTokenChr(u"( ");
    using Cmd = std::pair<TNibEditorCommand, char16_t>;

    Key(VK::LEFT);
    EXPECT_EQ(Events, std::vector<std::string>{"cancel"});
    Key(VK::BACK);
    Key(VK::BACK, ssShift);
    EXPECT_EQ(editor.Commands, (std::vector<Cmd>{{ecLeft, 0}, {ecDeleteLastChar, 0}}));
    Key(VK::DELETE_);
    EXPECT_EQ(editor.Commands.back(), (Cmd{ecDeleteChar, 0}));

    // Right takes the character under the caret into the filter, unless it ends the word.
    Events.clear();
    editor.Caret = 2;
    Key(VK::RIGHT);
    EXPECT_EQ(form.CurrentString(), u"U");
    Key(VK::LEFT);
    EXPECT_EQ(form.CurrentString(), u"");
    EXPECT_TRUE(Events.empty());
    editor.Caret = 3;
    Key(VK::RIGHT);
    editor.Caret = 9;
    Key(VK::RIGHT);
    EXPECT_EQ(Events, (std::vector<std::string>{"cancel", "cancel"}));
    EXPECT_EQ(editor.Commands.back(), (Cmd{ecRight, 0}));
    EXPECT_EQ(form.CurrentString(), u"");
}

TEST_F(CompletionPopup, AcceptAndCancelKeys)
{
    SetUpForm(List({u"DUP"}));
    Key(VK::TAB);
    Key(VK::RETURN);
    EXPECT_TRUE(Events.empty());
    form.SetCompleteWithTab(true);
    form.SetCompleteWithEnter(true);
    Key(VK::TAB, ssShift);
    Key(VK::RETURN);
    Key(VK::ESCAPE);
    EXPECT_EQ(Events, (std::vector<std::string>{"validate 1 0", "validate 0 0", "cancel"}));
}

TEST_F(CompletionPopup, TypedCharacters)
{
    SetUpForm(List({u"DUP"}));
    form.SetEndOfTokenChr(u"( ");
    form.SetCompleteWithTab(true);
    Char(u'D');
    Char(u'(');
    Char(u' ');
    EXPECT_EQ(Events, (std::vector<std::string>{"key 68", "validate 0 40", "key 40", "validate 0 0", "key 32"}));
    EXPECT_EQ(form.CurrentString(), u"D( ");

    Events.clear();
    for (char16_t c : {u'\b', u'\r', u'\x1B', u'\t'}) Char(c);
    EXPECT_EQ(Events, std::vector<std::string>{"key 8"});
    EXPECT_TRUE(editor.Commands.empty());
    form.SetCompleteWithTab(false);
    Char(u'\t');
    Char(u'\x01');
    EXPECT_EQ(Events, (std::vector<std::string>{"key 8", "cancel", "cancel"}));
    EXPECT_EQ(editor.Commands, (std::vector<std::pair<TNibEditorCommand, char16_t>>{{ecChar, u'\t'}, {ecChar, 1}}));

    // A hint takes no keys.
    Events.clear();
    form.SetDisplayKind(ctHint);
    Char(u'x');
    Key(VK::ESCAPE);
    EXPECT_TRUE(Events.empty());
}

TEST_F(CompletionPopup, ClicksAndTheWheel)
{
    SetUpForm(List({u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9"}));
    form.SetPosition(9);
    form.MouseDown(TMouseButton::mbLeft, 0, 5, 2 * 16 + 3);
    EXPECT_EQ(form.Position(), 8);
    form.MouseDown(TMouseButton::mbLeft, 0, 5, 20 * 16);
    EXPECT_EQ(form.Position(), 8);
    form.DblClick();
    EXPECT_EQ(Events, std::vector<std::string>{"validate 0 0"});

    EXPECT_TRUE(form.MouseWheel(0, 60, {}));
    EXPECT_EQ(form.Position(), 8);
    form.MouseWheel(0, 60, {});
    EXPECT_EQ(form.Position(), 5);
    form.MouseWheel(0, -240, {});
    EXPECT_EQ(form.Position(), 9);  // past the end: stops on the last item, as Page Down does
    form.MouseWheel(0, -120, {});
    EXPECT_EQ(form.Position(), 9);
    form.MouseWheel(ssCtrl, 120, {});
    EXPECT_EQ(form.Position(), 5);
    form.SetWheelScrollLines(-1);
    form.MouseWheel(0, 360, {});
    EXPECT_EQ(form.Position(), 0);
}

TEST_F(CompletionPopup, ATitleBarAboveTheRows)
{
    SetUpForm(List({u"0", u"1", u"2", u"3", u"4", u"5"}));
    form.SetTitle(u"Words");
    EXPECT_EQ(form.HeightBuffer(), 20);
    form.SetBounds(0, 0, 200, 20 + 3 * 16);
    EXPECT_EQ(form.LinesInWindow(), 3);
    // A click on the title bar selects the row above the first visible one, but never a row above the list.
    form.SetPosition(4);
    EXPECT_EQ(form.TopRow(), 2);
    form.MouseDown(TMouseButton::mbLeft, 0, 5, 2);
    EXPECT_EQ(form.Position(), 1);
    form.SetPosition(0);
    form.MouseDown(TMouseButton::mbLeft, 0, 5, 2);
    EXPECT_EQ(form.Position(), 0);
    form.MouseDown(TMouseButton::mbLeft, 0, 5, 20 + 16);
    EXPECT_EQ(form.Position(), 1);

    int width = 5, height = 20 + 2 * 16 + 6 + 15;
    form.Sizing(width, height);
    EXPECT_EQ(height, 20 + 2 * 16 + 6);
    EXPECT_EQ(width, 21);
    EXPECT_EQ(form.LinesInWindow(), 2);
    height = 10;
    form.Sizing(width, height);
    EXPECT_EQ(height, 20 + 16 + 6);
}

TEST_F(CompletionPopup, ShowingAndHidingKeepTheEditorsCaret)
{
    SetUpForm(List({u"DUP"}));
    int shows = 0, hides = 0;
    form.OnShow = [&](TObject* sender) { shows += sender == &form; };
    form.OnHide = [&](TObject* sender) { hides += sender == &form; };
    editor.fAlwaysShowCaret = false;
    editor.Focused = true;
    form.Show();
    form.Activate();
    EXPECT_TRUE(editor.AlwaysShowCaret());
    EXPECT_EQ(editor.FocusList, std::vector<Control*>{&form});
    EXPECT_EQ(window.Shown, std::vector<bool>{true});
    form.Deactivate();
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(editor.FocusList.empty());
    EXPECT_FALSE(editor.AlwaysShowCaret());
    EXPECT_EQ(window.Hidden, 1);
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(hides, 1);
    EXPECT_TRUE(Events.empty());

    // A hint shows without taking the keys and joins no focus list.
    form.SetDisplayKind(ctHint);
    form.Activate();
    EXPECT_EQ(window.Shown.back(), false);
    EXPECT_TRUE(editor.FocusList.empty());

    form.SetWindowBounds({10, 20, 270, 160});
    EXPECT_EQ(form.WindowBounds(), (TRect{10, 20, 270, 160}));
    form.SetResizeable(false);
    EXPECT_EQ(window.Recreated, 1);
}

class CompletionPopupPaint : public CompletionPopup {
protected:
    RecordingCanvas& ListCanvas() { return static_cast<RecordingCanvas&>(const_cast<Bitmap&>(form.ListBitmap()).GetCanvas()); }
    RecordingCanvas& TitleCanvas() { return static_cast<RecordingCanvas&>(const_cast<Bitmap&>(form.TitleBitmap()).GetCanvas()); }

    RecordingCanvas screen;
};

TEST_F(CompletionPopupPaint, TheSelectedRowInItsColours)
{
    SetUpForm(List({u"0", u"1", u"2", u"3", u"4", u"5"}));
    form.SetClSelect(clNavy);
    form.SetClSelectText(clYellow);
    form.SetClBackground(clWhite);
    form.SetPosition(4);
    ListCanvas().Calls.clear();
    form.Paint(screen);

    const auto fills = ListCanvas().Of(CanvasCall::Kind::FillRect);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].Color, clWhite);
    EXPECT_EQ(fills[1].Rect, (TRect{0, 48, 200, 64}));
    EXPECT_EQ(fills[1].Color, clNavy);
    const auto texts = ListCanvas().Of(CanvasCall::Kind::TextOut);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].Text, u"1");
    EXPECT_EQ(texts[0].Point, (TPoint{2, 0}));
    EXPECT_EQ(texts[0].Color, clWindowText);
    EXPECT_EQ(texts[3].Text, u"4");
    EXPECT_EQ(texts[3].Color, clYellow);
    EXPECT_EQ(texts[3].Background, clNavy);
    const auto copies = screen.Of(CanvasCall::Kind::CopyRect);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].Rect, (TRect{0, 0, 200, 64}));
}

TEST_F(CompletionPopupPaint, PrettyItemsCustomDrawnItemsAndTheTitle)
{
    SetUpForm(List({u"\\color{clRed}a", u"\\color{clRed}b", u"c"}));
    form.SetFormattedText(true);
    form.SetClSelectText(clYellow);
    form.SetTitle(u"T");
    form.SetBounds(0, 0, 100, 20 + 3 * 16);
    form.OnPaintItem = [](TObject*, int index, Canvas& c, const TRect& rect, bool& custom) {
        custom = index == 2;
        if (custom) c.TextOut(rect.Left, rect.Top, u"own");
    };
    ListCanvas().Calls.clear();
    form.Paint(screen);
    const auto texts = ListCanvas().Of(CanvasCall::Kind::TextOut);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Color, clYellow);  // selected: its colour command is dropped
    EXPECT_EQ(texts[1].Color, 0x0000FF);
    EXPECT_EQ(texts[1].Point, (TPoint{2, 16}));
    EXPECT_EQ(texts[2].Text, u"own");

    const auto title = TitleCanvas().Of(CanvasCall::Kind::TextOut);
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(title[0].Point, (TPoint{46, 1}));
    EXPECT_TRUE(title[0].Font.Style & TFontStyles(TFontStyle::fsBold));
    const auto copies = screen.Of(CanvasCall::Kind::CopyRect);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].Rect, (TRect{0, 20, 100, 68}));
    EXPECT_EQ(copies[1].Rect, (TRect{0, 0, 100, 20}));
}

TEST_F(CompletionPopupPaint, AParameterHintHighlightsTheCurrentParameter)
{
    SetUpForm(List({u"a, b, c", u"x"}));
    form.SetDisplayKind(ctParams);
    form.SetCurrentIndex(1);
    form.Paint(screen);
    const auto texts = ListCanvas().Of(CanvasCall::Kind::TextOut);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].Text, u"a ");
    EXPECT_EQ(texts[0].Point, (TPoint{2, 2}));
    EXPECT_EQ(texts[1].Text, u"b");
    EXPECT_TRUE(texts[1].Font.Style & TFontStyles(TFontStyle::fsBold));
    EXPECT_FALSE(texts[2].Font.Style & TFontStyles(TFontStyle::fsBold));
    EXPECT_EQ(texts[3].Point, (TPoint{2, 18}));
}
