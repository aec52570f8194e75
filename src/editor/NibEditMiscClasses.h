#pragma once
// Option objects the editor owns and its painting reads, the method chains of the highlighter's change
// notification, and the interface of search engines.
#include <exception>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>
#include "editor/NibEditTypes.h"
#include "platform/Control.h"
#include "platform/Graphics.h"
#include "platform/ImageList.h"
#include "platform/Persistent.h"

/// Colours of selected text.
class TNibSelectedColor : public TPersistent {
public:
    TColor Background() const { return fBG; }
    void SetBackground(TColor value);
    TColor Foreground() const { return fFG; }
    void SetForeground(TColor value);
    void Assign(const TPersistent& Source) override;

    TNotifyEvent OnChange;

private:
    TColor fBG = clHighlight;
    TColor fFG = clHighlightText;
};

enum TNibGutterBorderStyle : std::uint8_t { gbsNone, gbsMiddle, gbsRight };

/// The gutter's look and its line-number formatting.
class TNibGutter : public TPersistent {
public:
    TNibGutter();

    const TFont& Font() const { return fFont; }
    void SetFont(const TFont& value);
    TColor Color() const { return fColor; }
    void SetColor(TColor value);
    TColor BorderColor() const { return fBorderColor; }
    void SetBorderColor(TColor value);
    /// 0 while the gutter is hidden.
    int Width() const { return fVisible ? fWidth : 0; }
    void SetWidth(int value);
    bool ShowLineNumbers() const { return fShowLineNumbers; }
    void SetShowLineNumbers(bool value);
    int DigitCount() const { return fDigitCount; }
    /// Kept within 2..12; also the digit count in use until the next auto-size.
    void SetDigitCount(int value);
    bool LeadingZeros() const { return fLeadingZeros; }
    void SetLeadingZeros(bool value);
    bool ZeroStart() const { return fZeroStart; }
    void SetZeroStart(bool value);
    int LeftOffset() const { return fLeftOffset; }
    void SetLeftOffset(int value);
    int RightOffset() const { return fRightOffset; }
    void SetRightOffset(int value);
    TCursorShape Cursor() const { return fCursor; }
    void SetCursor(TCursorShape value) { fCursor = value; }
    bool Visible() const { return fVisible; }
    void SetVisible(bool value);
    bool UseFontStyle() const { return fUseFontStyle; }
    void SetUseFontStyle(bool value);
    bool AutoSize() const { return fAutoSize; }
    void SetAutoSize(bool value);
    /// The digit count the painter uses: DigitCount, or more when auto-sized to the line count.
    int AutoSizeDigitCountInUse() const { return fAutoSizeDigitCount; }
    TNibGutterBorderStyle BorderStyle() const { return fBorderStyle; }
    /// Fires OnChange even when the style stays.
    void SetBorderStyle(TNibGutterBorderStyle value);
    int LineNumberStart() const { return fLineNumberStart; }
    /// Negative values become 0; 0 turns ZeroStart on, anything else off.
    void SetLineNumberStart(int value);
    bool Gradient() const { return fGradient; }
    void SetGradient(bool value);
    TColor GradientStartColor() const { return fGradientStartColor; }
    void SetGradientStartColor(TColor value);
    TColor GradientEndColor() const { return fGradientEndColor; }
    void SetGradientEndColor(TColor value);
    int GradientSteps() const { return fGradientSteps; }
    void SetGradientSteps(int value);

    /// Copies every setting but the cursor and the handler, then fires OnChange once.
    void Assign(const TPersistent& Source) override;

    /// Widens the digit count to the largest line number shown for `LinesCount` lines.
    void AutoSizeDigitCount(int LinesCount);
    /// The text shown for a line: right-aligned, with leading zeros when asked.
    UnicodeString FormatLineNumber(int Line) const;
    /// The gutter's width in pixels for a character cell `CharWidth` wide.
    int RealGutterWidth(int CharWidth) const;

    TNotifyEvent OnChange;

private:
    void Changed();
    template <typename T>
    void Set(T& field, T value)
    {
        if (field == value) return;
        field = value;
        Changed();
    }
    /// The number shown for a line.
    int ShownNumber(int Line) const;

    TFont fFont;
    TColor fColor = clBtnFace;
    TColor fBorderColor = clWindow;
    int fWidth = 30;
    bool fShowLineNumbers = false;
    int fDigitCount = 4;
    bool fLeadingZeros = false;
    bool fZeroStart = false;
    int fLeftOffset = 16;
    int fRightOffset = 2;
    TCursorShape fCursor = TCursorShape::crDefault;
    bool fVisible = true;
    bool fUseFontStyle = true;
    bool fAutoSize = false;
    int fAutoSizeDigitCount = 4;
    TNibGutterBorderStyle fBorderStyle = gbsMiddle;
    int fLineNumberStart = 1;
    bool fGradient = false;
    TColor fGradientStartColor = clWindow;
    TColor fGradientEndColor = clBtnFace;
    int fGradientSteps = 48;
};

/// How bookmarks are shown and reached from the keyboard.
class TNibBookMarkOpt : public TPersistent {
public:
    explicit TNibBookMarkOpt(TObject* AOwner) : fOwner(AOwner) {}
    ~TNibBookMarkOpt() override;
    TNibBookMarkOpt(const TNibBookMarkOpt&) = delete;
    TNibBookMarkOpt& operator=(const TNibBookMarkOpt&) = delete;

    /// The images that marks not drawn with the built-in glyphs come from; not owned: a list that
    /// is destroyed is dropped (nullptr: none).
    TCustomImageList* BookmarkImages() const { return fBookmarkImages; }
    void SetBookmarkImages(TCustomImageList* value);
    bool DrawBookmarksFirst() const { return fDrawBookmarksFirst; }
    void SetDrawBookmarksFirst(bool value);
    bool EnableKeys() const { return fEnableKeys; }
    void SetEnableKeys(bool value);
    bool GlyphsVisible() const { return fGlyphsVisible; }
    void SetGlyphsVisible(bool value);
    int LeftMargin() const { return fLeftMargin; }
    void SetLeftMargin(int value);
    int Xoffset() const { return fXoffset; }
    void SetXoffset(int value);
    TObject* Owner() const { return fOwner; }
    void Assign(const TPersistent& Source) override;

    TNotifyEvent OnChange;

private:
    template <typename T>
    void Set(T& field, T value)
    {
        if (field == value) return;
        field = value;
        Fire(OnChange, this);
    }

    void ImagesFreed(TObject*) { SetBookmarkImages(nullptr); }
    TFreeNotification ImagesFreedHandler() { return TFreeNotification::Bind<&TNibBookMarkOpt::ImagesFreed>(this); }

    TCustomImageList* fBookmarkImages = nullptr;
    bool fDrawBookmarksFirst = true;
    bool fEnableKeys = true;
    bool fGlyphsVisible = true;
    int fLeftMargin = 2;
    TObject* fOwner;
    int fXoffset = 12;
};

/// A small picture drawn in the gutter: the user's bitmap, or else a built-in one.
class TNibGlyph : public TPersistent {
public:
    /// With a name, the built-in bitmap of that name with its transparent colour; without, none.
    TNibGlyph(std::u16string_view Name, TColor MaskColor);

    /// The user's bitmap; empty (0 x 0) until one is set.
    const Bitmap& Glyph() const { return *fGlyph; }
    /// Copies the picture into the glyph's own bitmap.
    void SetGlyph(const Bitmap& Value);
    TColor MaskColor() const { return fMaskColor; }
    void SetMaskColor(TColor Value);
    bool Visible() const { return fVisible; }
    void SetVisible(bool Value);
    /// Of the user's bitmap when it is not empty, else of the built-in one, else 0.
    int Width() const;
    int Height() const;
    /// Draws in a cell LineHeight high at (X, Y): centred, or its middle rows when taller.
    void Draw(Canvas& ACanvas, int X, int Y, int LineHeight) const;
    /// Copies visibility, both transparent colours and both pictures, then fires OnChange.
    void Assign(const TPersistent& Source) override;

    TNotifyEvent OnChange;

private:
    bool fVisible = true;
    std::unique_ptr<Bitmap> fInternalGlyph;
    std::unique_ptr<Bitmap> fGlyph;
    TColor fInternalMaskColor = clNone;
    TColor fMaskColor = clNone;
};

/// A strip of equally wide images from a built-in bitmap that every strip of that name shares.
class TNibInternalImage {
public:
    TNibInternalImage(std::u16string_view Name, int Count);
    ~TNibInternalImage();
    TNibInternalImage(const TNibInternalImage&) = delete;
    TNibInternalImage& operator=(const TNibInternalImage&) = delete;

    /// Image Number, centred in a cell LineHeight high; nothing for a number outside the strip.
    void Draw(Canvas& ACanvas, int Number, int X, int Y, int LineHeight) const;
    void DrawTransparent(Canvas& ACanvas, int Number, int X, int Y, int LineHeight, TColor TransparentColor) const;
    int Width() const { return fWidth; }
    int Height() const { return fHeight; }
    int Count() const { return fCount; }
    const Bitmap& Images() const { return *fImages; }
    /// The shared bitmaps alive: one per name that some strip uses.
    static int SharedBitmapCount();

private:
    void DrawImage(Canvas& ACanvas, int Number, int X, int Y, int LineHeight, TColor TransparentColor) const;

    Bitmap* fImages;
    int fWidth;
    int fHeight;
    int fCount;
};

/// Error of a method chain.
class ENibMethodChain : public ENibError {
public:
    using ENibError::ENibError;
};

class TNibMethodChain;
/// Asked when a handler of a chain throws; clearing DoContinue stops the firing.
using TNibExceptionEvent = std::function<void(TNibMethodChain* Sender, const std::exception& E, bool& DoContinue)>;

/// A list of handlers that are called in the order they were added and removed by identity.
class TNibMethodChain : public TObject {
public:
    using TMethodEvent = TMethod<void(TObject*)>;

    /// Appends a handler (duplicates allowed); an unassigned one throws ENibMethodChain.
    void Add(const TMethodEvent& AEvent);
    /// Removes every entry equal to the handler; an unassigned one throws ENibMethodChain.
    void Remove(const TMethodEvent& AEvent);
    /// Calls every handler, also those added while firing.
    void Fire();
    int Count() const { return int(fNotifyProcs.size()); }

    TNibExceptionEvent OnException;

protected:
    virtual void DoFire(const TMethodEvent& AEvent) = 0;
    /// True to go on with the next handler; without OnException the exception is thrown again.
    virtual bool DoHandleException(const std::exception& E);
    virtual const char* ClassName() const { return "TNibMethodChain"; }

private:
    std::vector<TMethodEvent> fNotifyProcs;
};

/// A chain of notify handlers, each called with the chain's sender.
class TNibNotifyEventChain : public TNibMethodChain {
public:
    explicit TNibNotifyEventChain(TObject* ASender) : fSender(ASender) {}
    TObject* Sender() const { return fSender; }

protected:
    void DoFire(const TMethodEvent& AEvent) override { AEvent(fSender); }
    const char* ClassName() const override { return "TNibNotifyEventChain"; }

private:
    TObject* fSender;
};

/// What the editor asks of a search engine: every match of a pattern in one line at a time.
class TNibEditSearchCustom : public TObject, public TFreeNotifier {
public:
    /// Editors that search with it let go of it.
    ~TNibEditSearchCustom() override { NotifyFree(this); }
    virtual UnicodeString Pattern() const = 0;
    virtual void SetPattern(const UnicodeString& Value) = 0;
    /// Length and 1-based position of the result at a 0-based index.
    virtual int ResultLength(int Index) const = 0;
    virtual int ResultPosition(int Index) const = 0;
    virtual int ResultCount() const = 0;
    virtual void SetOptions(TNibSearchOptions Value) = 0;
    /// Finds every match in the text; returns their number.
    virtual int FindAll(const UnicodeString& NewText) = 0;
    /// The text that takes the place of a match.
    virtual UnicodeString Replace(const UnicodeString& aOccurrence, const UnicodeString& aReplacement) = 0;
};
