// The Code Editor's editing actions around the editor: clipboard, undo and redo, select all, find
// and replace, indent and outdent by one column, and the auto-indent switch.
#include "codeeditor/CodeEditorPage.h"

void TCodeEditorPage::CreateEditingActions(TActionList& List)
{
    auto add = [&](const char16_t* name, const char16_t* caption, const char16_t* hint, const char16_t* shortCut,
                   std::function<void()> execute, std::function<bool()> enabled) {
        TAction action;
        action.Name = name;
        action.Category = u"Editor";
        action.Caption = caption;
        action.Hint = hint;
        action.ShortCut = shortCut;
        action.OnExecute = [execute](TObject*) { execute(); };
        if (enabled) action.OnUpdate = [enabled](TObject* Sender) { static_cast<TAction*>(Sender)->Enabled = enabled(); };
        return &List.Add(std::move(action));
    };
    TNibEdit& edit = ScriptEdit;
    auto activeWithLines = [this] { return CodeEditorActive() && HasLines(); };
    EditorCopyAct = add(u"EditorCopyAct", u"Copy", u"Copy selected test to clipboard", u"Ctrl+C",
                        [&edit] { edit.CopyToClipboard(); }, [this] { return CodeEditorActive() && ScriptEdit.SelAvail(); });
    EditorCutAct = add(u"EditorCutAct", u"Cut", u"Cut selected test to clipboard and remove from editor", u"Ctrl+X",
                       [&edit] { edit.CutToClipboard(); }, [this] { return CodeEditorActive() && ScriptEdit.SelAvail(); });
    // Ctrl+V reaches the editor's own paste key.
    EditorPasteAct = add(u"EditorPasteAct", u"Paste", u"Insert clipboard contents into code editor text", u"Shift+Ins",
                         [&edit] { edit.PasteFromClipboard(); }, [this] { return CodeEditorActive() && ScriptEdit.CanPaste(); });
    EditorUndoAct = add(u"EditorUndoAct", u"Undo", u"Undo last change to code editor text", u"",
                        [&edit] { edit.Undo(); }, [this] { return CodeEditorActive() && ScriptEdit.CanUndo(); });
    EditorRedoAct = add(u"EditorRedoAct", u"Redo", u"Redo last editor change undone", u"",
                        [&edit] { edit.Redo(); }, [this] { return CodeEditorActive() && ScriptEdit.CanRedo(); });
    EditorSelectAllAct = add(u"EditorSelectAllAct", u"Select All", u"Select all the text in the code editor",
                             u"Ctrl+A", [&edit] { edit.SelectAll(); }, activeWithLines);
    EditorFindAct = add(u"EditorFindAct", u"Find", u"Find text in code editor", u"Ctrl+F", [this] {
        if (fView) fView->ShowFindDialog(FindDialog1);
    }, activeWithLines);
    EditorReplaceAct = add(u"EditorReplaceAct", u"Find and Replace", u"Find and optionaly replace text in code editor",
                           u"Ctrl+H", [this] {
                               ReplaceDialog1.Options.Include(frHideUpDown);
                               if (fView) fView->ShowReplaceDialog(ReplaceDialog1);
                           }, activeWithLines);
    EditIndentLinesAct = add(u"EditIndentLinesAct", u"Indent", u"Shift selected text lines to the right", u"F7",
                             [this] { IndentByOneColumn(false); }, activeWithLines);
    EditOutdentLinesAct = add(u"EditOutdentLinesAct", u"Outdent", u"Shift selected text lines to the left", u"F8",
                              [this] { IndentByOneColumn(true); }, activeWithLines);
    AutoIndentAct = add(u"AutoIndentAct", u"Auto Indent", u"Indent a new line to match the indent of the line above",
                        u"", [this] {
                            TNibEditorOptions options = ScriptEdit.Options();
                            if (AutoIndentAct->Checked) options.Include(eoAutoIndent);
                            else options.Exclude(eoAutoIndent);
                            ScriptEdit.SetOptions(options);
                        }, nullptr);
    AutoIndentAct->AutoCheck = true;
    AutoIndentAct->Checked = true;
    AutoIndentAct->OnUpdate = [this](TObject*) { AutoIndentAct->Checked = ScriptEdit.Options().Contains(eoAutoIndent); };
}

void TCodeEditorPage::IndentByOneColumn(bool Outdent)
{
    const int tabWidth = ScriptEdit.TabWidth();
    ScriptEdit.SetTabWidth(1);
    try {
        if (Outdent) ScriptEdit.DoBlockUnindent();
        else ScriptEdit.DoBlockIndent();
    } catch (...) {
        ScriptEdit.SetTabWidth(tabWidth);
        throw;
    }
    ScriptEdit.SetTabWidth(tabWidth);
}

bool TCodeEditorPage::SelectionIsPreviousMatch(const UnicodeString& Text, bool MatchCase) const
{
    if (fCodeEditLastSearchResult == 0 || !ScriptEdit.SelAvail()) return false;
    const UnicodeString selected = ScriptEdit.SelText();
    return MatchCase ? selected == Text : SameText(selected, Text);
}

void TCodeEditorPage::SkipPreviousMatch(const UnicodeString& Text, bool MatchCase, bool Backwards)
{
    if (!SelectionIsPreviousMatch(Text, MatchCase)) return;
    // Backwards the search takes only matches that end at or before the caret: from the match's
    // start it finds the one before, also one that ends right there.
    ScriptEdit.SetCaretXY(Backwards ? ScriptEdit.BlockBegin() : ScriptEdit.BlockEnd());
}

bool TCodeEditorPage::SearchDone(int Result, const UnicodeString& Text)
{
    fCodeEditLastSearchResult = Result;
    fCodeEditLastSearchStr = Text;
    return Result > 0;
}

bool TCodeEditorPage::EditorFind(const UnicodeString& Text, bool MatchCase, bool Backwards, bool WholeWord)
{
    SkipPreviousMatch(Text, MatchCase, Backwards);
    TNibSearchOptions options;
    if (ScriptEdit.SelAvail()) options.Include(ssoSelectedOnly);
    if (MatchCase) options.Include(ssoMatchCase);
    if (WholeWord) options.Include(ssoWholeWord);
    if (Backwards) options.Include(ssoBackwards);
    return SearchDone(ScriptEdit.SearchReplace(Text, u"", options), Text);
}

bool TCodeEditorPage::EditorReplace(const UnicodeString& Text, const UnicodeString& ReplaceText, bool Backwards,
                                    bool WholeWord, bool MatchCase, bool ReplaceAll)
{
    // The match the user sees selected is the one replaced first: a single replacement takes the
    // selection itself, and Replace All starts at it.
    if (ReplaceAll && SelectionIsPreviousMatch(Text, MatchCase))
        ScriptEdit.SetCaretXY(Backwards ? ScriptEdit.BlockEnd() : ScriptEdit.BlockBegin());
    TNibSearchOptions options{ReplaceAll ? ssoReplaceAll : ssoReplace};
    if (ScriptEdit.SelAvail()) options.Include(ssoSelectedOnly);
    if (MatchCase) options.Include(ssoMatchCase);
    if (WholeWord) options.Include(ssoWholeWord);
    if (Backwards) options.Include(ssoBackwards);
    return SearchDone(ScriptEdit.SearchReplace(Text, ReplaceText, options), Text);
}

void TCodeEditorPage::FindDialog1Find()
{
    const TFindOptions o = FindDialog1.Options;
    if (FindDialog1.FindText.empty()) return;
    if (!EditorFind(FindDialog1.FindText, o.Contains(frMatchCase), !o.Contains(frDown), o.Contains(frWholeWord)))
        ScriptEdit.Beep();
}

void TCodeEditorPage::ReplaceDialog1Find()
{
    const TFindOptions o = ReplaceDialog1.Options;
    if (!EditorFind(ReplaceDialog1.FindText, o.Contains(frMatchCase), !o.Contains(frDown), o.Contains(frWholeWord)))
        ScriptEdit.Beep();
}

void TCodeEditorPage::ReplaceDialog1Replace()
{
    const TFindOptions o = ReplaceDialog1.Options;
    if (!EditorReplace(ReplaceDialog1.FindText, ReplaceDialog1.ReplaceText, !o.Contains(frDown),
                       o.Contains(frWholeWord), o.Contains(frMatchCase), o.Contains(frReplaceAll)))
        ScriptEdit.Beep();
}
