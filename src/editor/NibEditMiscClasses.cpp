#include "editor/NibEditMiscClasses.h"

#include <algorithm>
#include <string>

void TNibSelectedColor::SetBackground(TColor value)
{
    if (fBG == value) return;
    fBG = value;
    Fire(OnChange, this);
}

void TNibSelectedColor::SetForeground(TColor value)
{
    if (fFG == value) return;
    fFG = value;
    Fire(OnChange, this);
}

void TNibSelectedColor::Assign(const TPersistent& Source)
{
    auto* src = dynamic_cast<const TNibSelectedColor*>(&Source);
    if (!src) return TPersistent::Assign(Source);
    fBG = src->fBG;
    fFG = src->fFG;
    Fire(OnChange, this);
}

TNibGutter::TNibGutter()
{
    fFont.Name = u"Courier New";
    fFont.SetSize(8);
    fFont.Style = 0;
}

void TNibGutter::Changed() { Fire(OnChange, this); }

void TNibGutter::SetFont(const TFont& value) { Set(fFont, value); }
void TNibGutter::SetColor(TColor value) { Set(fColor, value); }
void TNibGutter::SetBorderColor(TColor value) { Set(fBorderColor, value); }
void TNibGutter::SetWidth(int value) { Set(fWidth, std::max(0, value)); }
void TNibGutter::SetShowLineNumbers(bool value) { Set(fShowLineNumbers, value); }

void TNibGutter::SetDigitCount(int value)
{
    value = std::clamp(value, 2, 12);
    if (fDigitCount == value) return;
    fDigitCount = value;
    fAutoSizeDigitCount = value;
    Changed();
}

void TNibGutter::SetLeadingZeros(bool value) { Set(fLeadingZeros, value); }
void TNibGutter::SetZeroStart(bool value) { Set(fZeroStart, value); }
void TNibGutter::SetLeftOffset(int value) { Set(fLeftOffset, std::max(0, value)); }
void TNibGutter::SetRightOffset(int value) { Set(fRightOffset, std::max(0, value)); }
void TNibGutter::SetVisible(bool value) { Set(fVisible, value); }
void TNibGutter::SetUseFontStyle(bool value) { Set(fUseFontStyle, value); }
void TNibGutter::SetAutoSize(bool value) { Set(fAutoSize, value); }

void TNibGutter::SetBorderStyle(TNibGutterBorderStyle value)
{
    fBorderStyle = value;
    Changed();
}

void TNibGutter::SetLineNumberStart(int value)
{
    value = std::max(0, value);
    if (fLineNumberStart == value) return;
    fLineNumberStart = value;
    fZeroStart = value == 0;
    Changed();
}

void TNibGutter::SetGradient(bool value) { Set(fGradient, value); }
void TNibGutter::SetGradientStartColor(TColor value) { Set(fGradientStartColor, value); }
void TNibGutter::SetGradientEndColor(TColor value) { Set(fGradientEndColor, value); }
void TNibGutter::SetGradientSteps(int value) { Set(fGradientSteps, std::max(2, value)); }

void TNibGutter::Assign(const TPersistent& Source)
{
    auto* src = dynamic_cast<const TNibGutter*>(&Source);
    if (!src) return TPersistent::Assign(Source);
    TCursorShape cursor = fCursor;
    TNotifyEvent onChange = std::move(OnChange);
    *this = *src;
    fCursor = cursor;
    OnChange = std::move(onChange);
    Changed();
}

int TNibGutter::ShownNumber(int Line) const
{
    if (fZeroStart) return Line - 1;
    if (fLineNumberStart > 1) return Line + fLineNumberStart - 1;
    return Line;
}

void TNibGutter::AutoSizeDigitCount(int LinesCount)
{
    if (!(fVisible && fAutoSize && fShowLineNumbers)) {
        fAutoSizeDigitCount = fDigitCount;
        return;
    }
    int digits = std::max(int(std::to_string(ShownNumber(LinesCount)).size()), fDigitCount);
    if (digits == fAutoSizeDigitCount) return;
    fAutoSizeDigitCount = digits;
    Changed();
}

UnicodeString TNibGutter::FormatLineNumber(int Line) const
{
    std::string digits = std::to_string(ShownNumber(Line));
    std::size_t width = std::size_t(fAutoSizeDigitCount);
    UnicodeString text = FromAnsi(std::string(width > digits.size() ? width - digits.size() : 0, ' ') + digits);
    if (fLeadingZeros) {
        for (std::size_t i = 0; i + 1 < width && i < text.size() && text[i] == u' '; ++i) text[i] = u'0';
    }
    return text;
}

int TNibGutter::RealGutterWidth(int CharWidth) const
{
    if (!fVisible) return 0;
    if (fShowLineNumbers) return fLeftOffset + fRightOffset + fAutoSizeDigitCount * CharWidth + 2;
    return fWidth;
}

void TNibBookMarkOpt::SetDrawBookmarksFirst(bool value) { Set(fDrawBookmarksFirst, value); }
void TNibBookMarkOpt::SetEnableKeys(bool value) { Set(fEnableKeys, value); }
void TNibBookMarkOpt::SetGlyphsVisible(bool value) { Set(fGlyphsVisible, value); }
void TNibBookMarkOpt::SetLeftMargin(int value) { Set(fLeftMargin, value); }
void TNibBookMarkOpt::SetXoffset(int value) { Set(fXoffset, value); }

void TNibBookMarkOpt::Assign(const TPersistent& Source)
{
    auto* src = dynamic_cast<const TNibBookMarkOpt*>(&Source);
    if (!src) return TPersistent::Assign(Source);
    fDrawBookmarksFirst = src->fDrawBookmarksFirst;
    fEnableKeys = src->fEnableKeys;
    fGlyphsVisible = src->fGlyphsVisible;
    fLeftMargin = src->fLeftMargin;
    fXoffset = src->fXoffset;
    Fire(OnChange, this);
}

void TNibMethodChain::Add(const TMethodEvent& AEvent)
{
    if (!AEvent) throw ENibMethodChain(std::string(ClassName()) + ".Entry : the parameter `AEvent' must be specified.");
    fNotifyProcs.push_back(AEvent);
}

void TNibMethodChain::Remove(const TMethodEvent& AEvent)
{
    if (!AEvent) throw ENibMethodChain(std::string(ClassName()) + ".Remove: the parameter `AEvent' must be specified.");
    for (std::size_t i = fNotifyProcs.size(); i-- > 0;) {
        if (fNotifyProcs[i] == AEvent) fNotifyProcs.erase(fNotifyProcs.begin() + std::ptrdiff_t(i));
    }
}

void TNibMethodChain::Fire()
{
    // The count is read again after every call: a handler may add or remove handlers.
    for (std::size_t i = 0; i < fNotifyProcs.size();) {
        TMethodEvent event = fNotifyProcs[i++];
        try {
            DoFire(event);
        } catch (const std::exception& e) {
            if (!DoHandleException(e)) return;
        }
    }
}

bool TNibMethodChain::DoHandleException(const std::exception& E)
{
    if (!OnException) throw;
    bool doContinue = true;
    OnException(this, E, doContinue);
    return doContinue;
}
