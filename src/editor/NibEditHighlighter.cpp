#include "editor/NibEditHighlighter.h"

#include <algorithm>
#include <utility>
#include "editor/NibEditMiscProcs.h"
#include "editor/NibEditStrConst.h"
#include "editor/NibUnicode.h"

TNibHighlighterAttributes::TNibHighlighterAttributes(const UnicodeString& AName, const UnicodeString& AFriendlyName)
    : fFriendlyName(AFriendlyName), fName(AName)
{
}

void TNibHighlighterAttributes::SetBackground(TColor Value)
{
    if (fBackground == Value) return;
    fBackground = Value;
    Changed();
}

void TNibHighlighterAttributes::SetForeground(TColor Value)
{
    if (fForeground == Value) return;
    fForeground = Value;
    Changed();
}

void TNibHighlighterAttributes::SetStyle(TFontStyles Value)
{
    if (fStyle == Value) return;
    fStyle = Value;
    Changed();
}

void TNibHighlighterAttributes::AssignColorAndStyle(const TNibHighlighterAttributes& Source)
{
    bool changed = fBackground != Source.fBackground || fForeground != Source.fForeground || fStyle != Source.fStyle;
    fBackground = Source.fBackground;
    fForeground = Source.fForeground;
    fStyle = Source.fStyle;
    if (changed) Changed();
}

void TNibHighlighterAttributes::Assign(const TPersistent& Source)
{
    auto* src = dynamic_cast<const TNibHighlighterAttributes*>(&Source);
    if (!src) return TPersistent::Assign(Source);
    fName = src->fName;
    AssignColorAndStyle(*src);
}

void TNibHighlighterAttributes::InternalSaveDefaultValues()
{
    fBackgroundDefault = fBackground;
    fForegroundDefault = fForeground;
    fStyleDefault = fStyle;
}

TNibCustomHighlighter::TNibCustomHighlighter()
{
    fAttributes.SetSorted(true);
    fAttributes.SetDuplicates(TDuplicates::dupError);
}

TNibCustomHighlighter::~TNibCustomHighlighter()
{
    // The editors that use it let go of it while its own parts are still whole.
    NotifyFree(this);
}

int TNibCustomHighlighter::AttributeCount() const { return fAttributes.Count(); }

TNibHighlighterAttributes* TNibCustomHighlighter::AttributeAt(int Index) const
{
    if (Index < 0 || Index >= fAttributes.Count()) return nullptr;
    return static_cast<TNibHighlighterAttributes*>(fAttributes.Objects(Index));
}

TNibHighlighterAttributes* TNibCustomHighlighter::AddAttribute(std::unique_ptr<TNibHighlighterAttributes> AAttrib)
{
    fAttributes.Add(AAttrib->Name(), AAttrib.get());
    fOwnedAttributes.push_back(std::move(AAttrib));
    return fOwnedAttributes.back().get();
}

void TNibCustomHighlighter::SetAttributesOnChange()
{
    for (auto& a : fOwnedAttributes) {
        a->OnChange = [this](TObject* sender) { DefHighlightChange(sender); };
        a->InternalSaveDefaultValues();
    }
}

void TNibCustomHighlighter::DefHighlightChange(TObject*, bool AltersRanges)
{
    if (fUpdateCount > 0) {
        fUpdateChange = true;
        fUpdateAltersRanges = fUpdateAltersRanges || AltersRanges;
        return;
    }
    if (fLoading) return;
    fChangeMayAlterRanges = AltersRanges;
    // Also when a listener throws: a caller outside a notification must rescan.
    struct Restore {
        bool& flag;
        ~Restore() { flag = true; }
    } restore{fChangeMayAlterRanges};
    fAttrChangeHooks.Fire();
}

void TNibCustomHighlighter::Loaded()
{
    fLoading = false;
    DefHighlightChange(this);
}

void TNibCustomHighlighter::EndUpdate()
{
    if (fUpdateCount <= 0) return;
    if (--fUpdateCount == 0 && fUpdateChange) {
        fUpdateChange = false;
        DefHighlightChange(this, std::exchange(fUpdateAltersRanges, false));
    }
}

void TNibCustomHighlighter::HookAttrChangeEvent(const TNibMethodChain::TMethodEvent& ANotifyEvent)
{
    fAttrChangeHooks.Add(ANotifyEvent);
}

void TNibCustomHighlighter::UnhookAttrChangeEvent(const TNibMethodChain::TMethodEvent& ANotifyEvent)
{
    fAttrChangeHooks.Remove(ANotifyEvent);
}

void TNibCustomHighlighter::SetEnabled(bool Value)
{
    if (fEnabled == Value) return;
    fEnabled = Value;
    DefHighlightChange(this);
}

void TNibCustomHighlighter::Assign(const TNibCustomHighlighter& Source)
{
    for (auto& own : fOwnedAttributes) {
        for (int i = 0; i < Source.AttributeCount(); ++i) {
            TNibHighlighterAttributes* src = Source.AttributeAt(i);
            if (src->Name() == own->Name()) {
                own->Assign(*src);
                break;
            }
        }
    }
    SetDefaultFilter(Source.DefaultFilter());
    SetEnabled(Source.Enabled());
}

bool TNibCustomHighlighter::TokenEquals(std::u16string_view S) const
{
    return int(S.size()) == fStringLen && CasedLine().substr(std::size_t(fToIdent), S.size()) == S;
}

void TNibCustomHighlighter::AssignLine(const UnicodeString& Line, int LineNumber)
{
    fLineStr.assign(Line);
    if (!fCaseSensitive) {
        fCasedLineStr.assign(Line);
        // Most source is 7-bit: such a line is mapped without branches, any other by the full mapping.
        const bool ascii = std::all_of(fLineStr.begin(), fLineStr.end(), [](char16_t c) { return c < 0x80; });
        if (ascii) {
            for (char16_t& c : fLineStr) c = char16_t(c + (char16_t(c - u'A') < 26 ? 32 : 0));
        } else if (!fLineStr.empty()) {
            CharLowerBufferWide(fLineStr.data(), int(fLineStr.size()));
        }
    }
    fLineLen = int(fLineStr.size());
    Run = 0;
    ExpandedRun = 0;
    fOldRun = 0;
    fTokenPos = 0;
    fExpandedTokenPos = 0;
    fLineNumber = LineNumber;
}

void TNibCustomHighlighter::SetLineExpandedAtWideGlyphs(const UnicodeString& Line, const UnicodeString& ExpandedLine,
                                                        int LineNumber)
{
    fExpandedLineStr.assign(ExpandedLine);
    fHasExpandedLine = true;
    AssignLine(Line, LineNumber);
    Next();
}

void TNibCustomHighlighter::SetLine(const UnicodeString& Line, int LineNumber)
{
    fExpandedLineStr.clear();
    fHasExpandedLine = false;
    AssignLine(Line, LineNumber);
    Next();
}

int TNibCustomHighlighter::ExpandedIndexAfter(int from, int count) const
{
    const std::size_t len = fExpandedLineStr.size();
    std::size_t pos = std::size_t(from);
    for (; count > 0 && pos < len; --count) {
        while (pos < len && fExpandedLineStr[pos] == NibWideGlyphFiller) ++pos;
        if (pos < len) ++pos;
    }
    return int(pos);
}

void TNibCustomHighlighter::NextToEol()
{
    while (!GetEol()) Next();
}

void TNibCustomHighlighter::ScanLineRange(const UnicodeString& Line, int LineNumber)
{
    SetLine(Line, LineNumber);
    NextToEol();
}

int TNibCustomHighlighter::PosToExpandedPos(int Pos) const
{
    if (!fHasExpandedLine) return Pos;
    if (Pos < 1) return 0;
    return ExpandedIndexAfter(0, Pos);
}

std::u16string_view TNibCustomHighlighter::CasedText(int from) const
{
    std::u16string_view line = CasedLine();
    int end = std::min(Run, int(line.size()));
    if (from < 0 || end <= from) return {};
    return line.substr(std::size_t(from), std::size_t(end - from));
}

UnicodeString TNibCustomHighlighter::GetToken() const { return UnicodeString(CasedText(fTokenPos)); }

UnicodeString TNibCustomHighlighter::GetExpandedToken() const { return UnicodeString(ExpandedTokenText()); }

std::u16string_view TNibCustomHighlighter::ExpandedTokenText() const
{
    if (!fHasExpandedLine) return CasedText(fTokenPos);
    if (ExpandedRun <= fExpandedTokenPos) return {};
    return std::u16string_view(fExpandedLineStr)
        .substr(std::size_t(fExpandedTokenPos), std::size_t(ExpandedRun - fExpandedTokenPos));
}

int TNibCustomHighlighter::GetExpandedTokenPos() const
{
    return fHasExpandedLine ? fExpandedTokenPos : GetTokenPos();
}

bool TNibCustomHighlighter::IsIdentChar(char16_t C) const
{
    return (C >= u'0' && C <= u'9') || (C >= u'A' && C <= u'Z') || C == u'_' || (C >= u'a' && C <= u'z');
}

bool TNibCustomHighlighter::IsWhiteChar(char16_t C) const
{
    if (C < 33) return true;
    return !IsIdentChar(C) && !IsWordBreakChar(C);
}

bool TNibCustomHighlighter::IsWordBreakChar(char16_t C) const
{
    return IsDefaultWordBreakChar(C);
}

const UnicodeString& TNibCustomHighlighter::ExportName() const
{
    if (FExportName.empty()) FExportName = ExportNameFromClassName(ClassName());
    return FExportName;
}

UnicodeString TNibCustomHighlighter::GetLanguageName() { return SNibLangUnknown; }
UnicodeString TNibCustomHighlighter::GetFriendlyLanguageName() { return SNibLangUnknown; }

int TNibHighlighterList::FindByClass(const TNibCustomHighlighter* Comp) const
{
    for (int i = 0; i < Count(); ++i) {
        if (hlList[std::size_t(i)].IsInstance(Comp)) return i;
    }
    return -1;
}

int TNibHighlighterList::FindByName(std::u16string_view Name) const
{
    for (int i = 0; i < Count(); ++i) {
        if (hlList[std::size_t(i)].LanguageName == Name) return i;
    }
    return -1;
}

int TNibHighlighterList::FindByFriendlyName(std::u16string_view FriendlyName) const
{
    for (int i = 0; i < Count(); ++i) {
        if (hlList[std::size_t(i)].FriendlyLanguageName == FriendlyName) return i;
    }
    return -1;
}

void TNibHighlighterList::Add(const TNibHighlighterClass& Class)
{
    for (const auto& c : hlList) {
        if (*c.Type == *Class.Type) return;
    }
    hlList.push_back(Class);
}

TNibHighlighterList& GetPlaceableHighlighters()
{
    static TNibHighlighterList list;
    return list;
}
