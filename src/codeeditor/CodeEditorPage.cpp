// The Code Editor page: its editor as designed, its actions and its status bar.
#include "codeeditor/CodeEditorPage.h"
#include "blocks/BlockManager.h"

namespace {

// Colours of the designed gutter.
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clInfoText = TColor(0x80000017u);
constexpr TColor clInfoBk = TColor(0x80000018u);

}  // namespace

TCodeEditorPage::TCodeEditorPage(TBlockManager& BlockManager, THost Host)
    : fBlockManager(BlockManager), fHost(std::move(Host))
{
    TFont font = ScriptEdit.Font();
    font.Name = u"Courier New";
    font.Height = -13;
    ScriptEdit.SetFont(font);
    ScriptEdit.SetFontSmoothing(fsmAntiAlias);
    TNibGutter& gutter = ScriptEdit.Gutter();
    gutter.SetAutoSize(true);
    gutter.SetShowLineNumbers(true);
    gutter.SetColor(clInfoBk);
    gutter.SetGradientStartColor(clBlue);
    gutter.SetGradientEndColor(clSkyBlue);
    gutter.SetGradient(false);
    TFont gutterFont = gutter.Font();
    gutterFont.Name = u"Courier New";
    gutterFont.Height = -11;
    gutterFont.Color = clInfoText;
    gutter.SetFont(gutterFont);
    ScriptEdit.SetTabWidth(2);
    ScriptEdit.OnChange = [this](TObject*) { ScriptEditChange(); };

    ScriptEdit.SetWantTabs(true);
    ScriptEdit.SetSearchEngine(&NibEditSearch1);

    NibCompletionProposal1.SetOptions(scoCaseSensitive | scoLimitToMatchedText | scoUseInsertList | scoUsePrettyText |
                                      scoEndCharCompletion | scoCompleteWithTab | scoCompleteWithEnter);
    NibCompletionProposal1.SetEndOfTokenChr(u" ");
    NibCompletionProposal1.SetTriggerChars(u".");
    TFont listFont = NibCompletionProposal1.Form().ItemFont();
    listFont.Name = u"Lucida Console";
    listFont.Height = -13;
    NibCompletionProposal1.SetFont(listFont);
    listFont.Style = TFontStyles(TFontStyle::fsBold);
    NibCompletionProposal1.SetTitleFont(listFont);
    NibCompletionProposal1.SetEditor(&ScriptEdit);

    CodeHighliteTimer.SetInterval(1700);
    CodeHighliteTimer.OnTimer = [this] { CodeHighliteTimerTimer(); };
}

TCodeEditorPage::~TCodeEditorPage()
{
    // The editor must not reach the highlighter while both go.
    ScriptEdit.SetHighlighter(nullptr);
    NibCompletionProposal1.SetEditor(nullptr);
}

void TCodeEditorPage::CreateHighlighter()
{
    fNibTavloHighlighter = std::make_unique<TNibTavloHighlighter>();
    ScriptEdit.SetHighlighter(fNibTavloHighlighter.get());
}

bool TCodeEditorPage::CodeEditorActive() const
{
    return fHost.PageActive() && ScriptEdit.Focused() && !ScriptEdit.ReadOnly();
}

void TCodeEditorPage::ShowStatus(int Panel, const UnicodeString& Text)
{
    if (fView) fView->StatusChanged(Panel, Text);
}

void TCodeEditorPage::ShowEditorFileName()
{
    ShowStatus(6, CodeEditCurrentFileName.empty() ? UnicodeString(u"(none)") : CodeEditCurrentFileName);
}

void TCodeEditorPage::Timer1Timer()
{
    ShowStatus(1, IntToStr(ScriptEdit.CaretY()));
    ShowStatus(3, IntToStr(ScriptEdit.CaretX()));
    ShowStatus(5, ScriptEdit.Modified() ? u"*" : u"");
}

void TCodeEditorPage::CreateActions(TActionList& List)
{
    using Handler = void (TCodeEditorPage::*)();
    /// One action: where it is kept, name, caption, hint, shortcut, what it does, when it is enabled.
    struct Row {
        TAction* TCodeEditorPage::*Field;
        const char16_t* Name;
        const char16_t* Caption;
        const char16_t* Hint;
        const char16_t* ShortCut;
        Handler Execute;
        Handler Update;
    };
    using P = TCodeEditorPage;
    static const Row rows[] = {
        {&P::EditorNewAct, u"EditorNewAct", u"New File", u"Start a new forth text file in the code editor", u"",
         &P::EditorNewActExecute, &P::EditorNewActUpdate},
        {&P::EditorOpenFileAct, u"EditorOpenFileAct", u"Open File", u"Select a file to open in the code editor", u"",
         &P::EditorOpenFileActExecute, &P::EditorOpenFileActUpdate},
        {&P::EditorSaveFileAct, u"EditorSaveFileAct", u"Save File", u"Save the code editor to a forth text file",
         u"Ctrl+S", &P::EditorSaveFileActExecute, &P::EditorSaveFileActUpdate},
        {&P::EditorSaveAsFileAct, u"EditorSaveAsFileAct", u"Save File As", u"Save the code editor to a new file", u"",
         &P::EditorSaveAsFileActExecute, &P::EditorSaveAsFileActUpdate},
        {&P::EditorTransToBlockEditAct, u"EditorTransToBlockEditAct", u"Transform To Block Editor", u"", u"",
         &P::TransformToBlockEditor, &P::EditorTransToBlockEditActUpdate},
        {&P::EditorEditPairedWordsAct, u"EditorEditPairedWordsAct", u"Paired Words",
         u"Edit the documents paired word list", u"", &P::EditPairedWords, &P::EditorEditPairedWordsActUpdate},
        {&P::UpdateLocalWordsAct, u"UpdateLocalWordsAct", u"Update Lacal Words", u"Update local word list", u"",
         &P::UpdateLocalWords, nullptr},
    };
    for (const Row& row : rows) {
        TAction action;
        action.Name = row.Name;
        action.Category = u"Editor";
        action.Caption = row.Caption;
        action.Hint = row.Hint;
        action.ShortCut = row.ShortCut;
        action.OnExecute = [this, execute = row.Execute](TObject*) { (this->*execute)(); };
        if (row.Update) action.OnUpdate = [this, update = row.Update](TObject*) { (this->*update)(); };
        this->*row.Field = &List.Add(std::move(action));
    }
    CreateEditingActions(List);
}
