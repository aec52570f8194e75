#pragma once
// The highlighter base: scans one line at a time into tokens and gives each token an attribute.
#include <bitset>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>
#include "editor/NibEditMiscClasses.h"
#include "platform/FreeNotifier.h"
#include "platform/Graphics.h"
#include "platform/Persistent.h"
#include "platform/StringList.h"

/// Colours and style of one kind of token; clNone colours mean the editor's own.
class TNibHighlighterAttributes : public TPersistent {
public:
    TNibHighlighterAttributes(const UnicodeString& AName, const UnicodeString& AFriendlyName);

    TColor Background() const { return fBackground; }
    void SetBackground(TColor Value);
    TColor Foreground() const { return fForeground; }
    void SetForeground(TColor Value);
    TFontStyles Style() const { return fStyle; }
    void SetStyle(TFontStyles Value);
    /// The name the attribute is stored and listed under.
    const UnicodeString& Name() const { return fName; }
    const UnicodeString& FriendlyName() const { return fFriendlyName; }

    /// Copies colours and style, firing one notification when any changed.
    void AssignColorAndStyle(const TNibHighlighterAttributes& Source);
    /// From another attribute: its name, colours and style.
    void Assign(const TPersistent& Source) override;
    /// Takes the current colours and style as the saved defaults.
    void InternalSaveDefaultValues();
    bool BackgroundIsStored() const { return fBackground != fBackgroundDefault; }
    bool ForegroundIsStored() const { return fForeground != fForegroundDefault; }
    bool StyleIsStored() const { return fStyle != fStyleDefault; }

    TNotifyEvent OnChange;

protected:
    virtual void Changed() { Fire(OnChange, this); }

private:
    TColor fBackground = clNone;
    TColor fBackgroundDefault = clNone;
    TColor fForeground = clNone;
    TColor fForegroundDefault = clNone;
    UnicodeString fFriendlyName;
    UnicodeString fName;
    TFontStyles fStyle = 0;
    TFontStyles fStyleDefault = 0;
};

/// Options of a highlighter kept for its users; the program reads none of them.
struct TNibEditHighlighterOptions {
    bool AutoDetectEnabled = false;
    unsigned AutoDetectLineLimit = 0;
    UnicodeString AutoDetectMatchExpression;
    UnicodeString DefaultExtension;
    UnicodeString LineCommentarEnd;
    UnicodeString LineCommentarStart;
    UnicodeString Title;
    bool Visible = false;
};

/// The scan state a highlighter keeps at a line's end, stored by the editor per line; nullptr is
/// the state at the start of a text.
using TNibRange = void*;

/// 8-bit character set.
using TNibCharSet = std::bitset<256>;

enum TNibHighlighterCapability : std::uint8_t { hcUserSettings = 1, hcRegistry = 2 };
using TNibHighlighterCapabilities = std::uint8_t;

/// Filler code unit: each glyph wider than one cell is preceded by one per extra cell.
inline constexpr char16_t NibWideGlyphFiller = u'\uE000';

/// Base of the highlighters. After SetLine the first token is current; the editor reads a token and
/// then calls Next, until GetEol:
///     h.SetLine(text, n); while (!h.GetEol()) { use h.GetTokenAttribute() ...; h.Next(); }
class TNibCustomHighlighter : public TObject, public TFreeNotifier {
public:
    TNibCustomHighlighter();
    ~TNibCustomHighlighter() override;

    virtual int AttributeCount() const;
    /// nullptr outside 0..AttributeCount()-1; sorted by name.
    virtual TNibHighlighterAttributes* AttributeAt(int Index) const;
    /// The attribute of a role: 0 comment, 1 identifier, 2 keyword, 3 string, 4 whitespace, 5 symbol.
    virtual TNibHighlighterAttributes* GetDefaultAttribute(int Index) const = 0;
    virtual UnicodeString DefaultFilter() const { return fDefaultFilter; }
    virtual void SetDefaultFilter(const UnicodeString& Value) { fDefaultFilter = Value; }
    virtual UnicodeString SampleText() const { return {}; }
    virtual void SetSampleText(const UnicodeString&) {}
    virtual bool IsFilterStored() const { return true; }
    /// True when the character at Pos of the scanned line ends it (past the end, LF or CR).
    virtual bool AtLineEnd(int Pos) const
    {
        if (Pos >= fLineLen) return true;
        const char16_t c = fLineStr[std::size_t(Pos)];
        return c == 10 || c == 13;
    }
    /// True when S equals the current identifier, case-sensitively.
    virtual bool TokenEquals(std::u16string_view S) const;
    virtual TNibHighlighterCapabilities GetCapabilities() const { return hcRegistry; }

    /// True once the scan has passed the end of the line.
    virtual bool GetEol() const = 0;
    /// The current token in the line as displayed (wide glyphs with their fillers).
    virtual UnicodeString GetExpandedToken() const;
    /// The text GetExpandedToken copies, valid until the next line: a token as long as a line
    /// is painted row by row without a copy of it for each.
    std::u16string_view ExpandedTokenText() const;
    virtual int GetExpandedTokenPos() const;
    virtual UnicodeString GetKeyWords(int TokenKind) const { return {}; }
    virtual TNibRange GetRange() const { return nullptr; }
    /// The current token as written.
    virtual UnicodeString GetToken() const;
    virtual TNibHighlighterAttributes* GetTokenAttribute() const = 0;
    virtual int GetTokenKind() const = 0;
    /// 0-based start of the current token in the line.
    virtual int GetTokenPos() const { return fTokenPos; }
    virtual bool IsKeyword(const UnicodeString& AKeyword) const { return false; }
    /// Moves to the next token; a descendant moves Run past a token and then calls this.
    virtual void Next()
    {
        if (Run == fOldRun) return;
        fExpandedTokenPos = ExpandedRun;
        if (fHasExpandedLine) ExpandedRun = ExpandedIndexAfter(ExpandedRun, Run - fOldRun);
        fOldRun = Run;
    }
    /// Scans a line whose displayed form has fillers before its wide glyphs.
    virtual void SetLineExpandedAtWideGlyphs(const UnicodeString& Line, const UnicodeString& ExpandedLine,
                                             int LineNumber);
    virtual void SetLine(const UnicodeString& Line, int LineNumber);
    virtual void SetRange(TNibRange Value) {}
    virtual void ResetRange() {}
    virtual bool UseUserSettings(int Index) { return false; }
    virtual void EnumUserSettings(TStringList& List) { List.Clear(); }
    virtual bool IsIdentChar(char16_t C) const;
    /// Below 33, or neither an identifier nor a word-break character.
    virtual bool IsWhiteChar(char16_t C) const;
    virtual bool IsWordBreakChar(char16_t C) const;

    /// Holds the change notification back until the outermost EndUpdate, which fires it once.
    void BeginUpdate() { ++fUpdateCount; }
    void EndUpdate();
    void NextToEol();
    /// Scans Line from the current range to its end, for the range it ends with (GetRange); the
    /// scan's tokens are not kept, so a descendant may find the range without making them.
    virtual void ScanLineRange(const UnicodeString& Line, int LineNumber);
    void HookAttrChangeEvent(const TNibMethodChain::TMethodEvent& ANotifyEvent);
    /// Whether the change being notified may have changed the range some line ends with: a
    /// listener that keeps each line's range rescans them only then. True outside a notification.
    bool ChangeMayAlterRanges() const { return fChangeMayAlterRanges; }
    void UnhookAttrChangeEvent(const TNibMethodChain::TMethodEvent& ANotifyEvent);
    /// The index in the displayed line just after the Pos-th character of the line.
    int PosToExpandedPos(int Pos) const;
    bool Enabled() const { return fEnabled; }
    void SetEnabled(bool Value);
    const TNibCharSet& AdditionalWordBreakChars() const { return fAdditionalWordBreakChars; }
    void SetAdditionalWordBreakChars(const TNibCharSet& Value) { fAdditionalWordBreakChars = Value; }
    const TNibCharSet& AdditionalIdentChars() const { return fAdditionalIdentChars; }
    void SetAdditionalIdentChars(const TNibCharSet& Value) { fAdditionalIdentChars = Value; }
    TNibEditHighlighterOptions& Options() { return fOptions; }
    /// From another highlighter: attributes by name, DefaultFilter and Enabled.
    void Assign(const TNibCustomHighlighter& Source);

    /// Reading the highlighter's settings begins: the change notification waits for Loaded.
    void Loading() { fLoading = true; }
    bool IsLoading() const { return fLoading; }
    /// The settings are read: the change notification fires once.
    virtual void Loaded();
    /// Reads the attributes from an ini file: a section per attribute name with the whole numbers
    /// "Background", "Foreground" and "Style" (bold 1, italic 2, underline 4, strike-out 8). A
    /// missing key keeps its value. False when the file or any attribute's section is missing.
    bool LoadFromFile(const UnicodeString& FileName);
    /// Writes the attributes so, keeping the file's other sections; false when it cannot be written.
    bool SaveToFile(const UnicodeString& FileName) const;

    static UnicodeString GetLanguageName();
    static UnicodeString GetFriendlyLanguageName();
    /// The class's own name, as the highlighter's export name is made from it.
    virtual UnicodeString ClassName() const { return u"TNibCustomHighlighter"; }
    /// The name the highlighter is exported under, made once from the class name.
    const UnicodeString& ExportName() const;

protected:
    /// Takes ownership; a name already in the list throws std::logic_error.
    TNibHighlighterAttributes* AddAttribute(std::unique_ptr<TNibHighlighterAttributes> AAttrib);
    /// Hooks every attribute to the change notification and saves its values as defaults.
    void SetAttributesOnChange();
    /// The change notification: listeners are called, or the call is held back during an update.
    /// AltersRanges false promises that every line still ends with the range it had before.
    void DefHighlightChange(TObject* Sender, bool AltersRanges = true);
    void AssignLine(const UnicodeString& Line, int LineNumber);
    /// The scanned (lower-cased unless case-sensitive) line and the line as written.
    std::u16string_view ScannedLine() const { return fLineStr; }
    std::u16string_view CasedLine() const { return fCaseSensitive ? fLineStr : fCasedLineStr; }
    /// The as-written text from `from` up to Run.
    std::u16string_view CasedText(int from) const;

    bool fCaseSensitive = false;
    int fLineLen = 0;
    int fLineNumber = 0;
    int fStringLen = 0;
    int fToIdent = 0;
    int fTokenPos = 0;
    int Run = 0;
    int ExpandedRun = 0;
    int fOldRun = 0;

private:
    /// The index in the displayed line after `count` more characters from `from`, fillers stepped
    /// over with the glyph after them; never beyond the displayed line.
    int ExpandedIndexAfter(int from, int count) const;

    std::vector<std::unique_ptr<TNibHighlighterAttributes>> fOwnedAttributes;
    TStringList fAttributes;
    TNibNotifyEventChain fAttrChangeHooks{this};
    int fUpdateCount = 0;
    bool fUpdateChange = false;
    /// Whether a change held back by an update may alter ranges.
    bool fUpdateAltersRanges = false;
    bool fChangeMayAlterRanges = true;
    bool fLoading = false;
    bool fEnabled = true;
    TNibCharSet fAdditionalWordBreakChars;
    TNibCharSet fAdditionalIdentChars;
    TNibEditHighlighterOptions fOptions;
    UnicodeString fLineStr;
    UnicodeString fCasedLineStr;
    UnicodeString fExpandedLineStr;
    bool fHasExpandedLine = false;
    int fExpandedTokenPos = 0;
    UnicodeString fDefaultFilter;
    mutable UnicodeString FExportName;
};

/// A registered highlighter class: its names, a maker, and a test of whether an object is one.
struct TNibHighlighterClass {
    UnicodeString LanguageName;
    UnicodeString FriendlyLanguageName;
    std::function<std::unique_ptr<TNibCustomHighlighter>()> Create;
    std::function<bool(const TNibCustomHighlighter*)> IsInstance;
    const std::type_info* Type = nullptr;
};

/// The class record of highlighter T.
template <typename T>
TNibHighlighterClass HighlighterClassOf()
{
    return {T::GetLanguageName(), T::GetFriendlyLanguageName(), [] { return std::make_unique<T>(); },
            [](const TNibCustomHighlighter* h) { return dynamic_cast<const T*>(h) != nullptr; }, &typeid(T)};
}

/// The highlighter classes known to the program.
class TNibHighlighterList {
public:
    int Count() const { return int(hlList.size()); }
    const TNibHighlighterClass& operator[](int Index) const { return hlList.at(std::size_t(Index)); }
    /// Index of the first class that the highlighter is an instance of, or -1.
    int FindByClass(const TNibCustomHighlighter* Comp) const;
    int FindByName(std::u16string_view Name) const;
    int FindByFriendlyName(std::u16string_view FriendlyName) const;
    /// Adds a class unless it is there.
    void Add(const TNibHighlighterClass& Class);

private:
    std::vector<TNibHighlighterClass> hlList;
};

/// The one list of registered highlighter classes.
TNibHighlighterList& GetPlaceableHighlighters();

template <typename T>
void RegisterHighlighterClass()
{
    GetPlaceableHighlighters().Add(HighlighterClassOf<T>());
}
