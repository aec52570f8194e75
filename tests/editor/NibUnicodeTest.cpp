#include <gtest/gtest.h>

#include <vector>

#include "editor/NibUnicode.h"
#include "support/MemoryClipboard.h"
#include "support/RecordingCanvas.h"

TEST(NibUnicode, CaseMappingKeepsTheLength)
{
    // U+0130 and U+00DF grow when a whole string is mapped by the usual rules; here each stays one unit.
    const UnicodeString text = u"a\u0130\u00DF\u00E9Z\xD800";
    EXPECT_EQ(UpperCaseWide(text), UnicodeString(u"A\u0130\u00DF\u00C9Z\xD800"));
    EXPECT_EQ(LowerCaseWide(text).size(), text.size());
    EXPECT_EQ(LowerCaseWide(u"\u0130").size(), 1u);
    EXPECT_EQ(UpperCaseWide(u""), u"");

    char16_t buffer[] = u"abc";
    EXPECT_EQ(CharUpperWide(buffer), buffer);
    EXPECT_EQ(UnicodeString(buffer), u"ABC");
    EXPECT_EQ(CharLowerBufferWide(buffer, 2), 2);
    EXPECT_EQ(UnicodeString(buffer), u"abC");
    EXPECT_EQ(CharLowerWide(u'\u00C0'), u'\u00E0');
}

TEST(NibUnicode, BufferLowerCasingAgreesWithTheCharacterMappingOnEveryCodeUnit)
{
    std::vector<char16_t> all(65536);
    for (std::size_t c = 0; c < all.size(); ++c) all[c] = char16_t(c);
    CharLowerBufferWide(all.data(), int(all.size()));
    for (std::size_t c = 0; c < all.size(); ++c) ASSERT_EQ(int(all[c]), int(LowCaseChar(char16_t(c)))) << c;
}

TEST(NibUnicode, RepeatAndTrim)
{
    EXPECT_EQ(RepeatChar(u'x', 3), u"xxx");
    EXPECT_EQ(RepeatChar(u'x', 0), u"");
    EXPECT_EQ(RepeatChar(u'x', -2), u"");
    EXPECT_EQ(TrimWide(u" \t\x01 \x1F"), u"");
    EXPECT_EQ(TrimWide(u"\tq\t"), u"q");
    EXPECT_EQ(TrimWide(u" a b "), u"a b");
}

TEST(NibUnicode, EightBitTextMapsByteForByte)
{
    EXPECT_EQ(AnsiToWideWithCodePage("\xE9x", LocaleAnsiCodePage(0)), u"\u00E9x");
    EXPECT_EQ(KeyToUnicode('\xFF'), u'\u00FF');
    EXPECT_TRUE(IsRepresentableInAnsi(u'\u00FF'));
    EXPECT_FALSE(IsRepresentableInAnsi(u'\u0100'));
}

TEST(NibUnicode, CanvasTextOutputMovesThePenAndClipsToTheRectangle)
{
    RecordingCanvas canvas;
    EXPECT_EQ(CanvasTextSize(canvas, u"ab\u4E00"), (TSize{32, 16}));
    CanvasTextOut(canvas, 10, 20, u"abc");
    ASSERT_EQ(canvas.Calls.size(), 2u);
    EXPECT_EQ(canvas.Calls[1].What, CanvasCall::Kind::MoveTo);
    EXPECT_EQ(canvas.Calls[1].Point, (TPoint{34, 20}));

    const TRect r{0, 0, 40, 16};
    CanvasTextRect(canvas, r, 2, 0, u"x");
    EXPECT_EQ(canvas.Calls.back().Value, int(ETO_CLIPPED | ETO_OPAQUE));
    canvas.SetBrushStyle(TBrushStyle::bsClear);
    CanvasTextRect(canvas, r, 2, 0, u"x");
    EXPECT_EQ(canvas.Calls.back().Value, int(ETO_CLIPPED));
    EXPECT_EQ(canvas.Calls.back().Rect, r);
}

TEST(NibUnicode, ClipboardText)
{
    MemoryClipboard clipboard;
    EXPECT_FALSE(ClipboardHasText());
    SetClipboardTextWide(u"dup \u4E00");
    EXPECT_TRUE(ClipboardHasText());
    SetClipboardTextWide(u"");
    EXPECT_EQ(GetClipboardTextWide(), u"dup \u4E00");
}
