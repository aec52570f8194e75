#include <gtest/gtest.h>

#include "editor/NibAssert.h"
#include "editor/NibCompletionPrettyText.h"
#include "platform/Convert.h"
#include "support/RecordingCanvas.h"

namespace {

/// The chunks as one line: T(text), C(colour), S(letter action), Col, H(pixels), I(index).
std::string Describe(const TFormatChunkList& chunks)
{
    std::string out;
    for (int i = 0; i < chunks.Count(); ++i) {
        const TFormatChunk& c = chunks[i];
        if (!out.empty()) out += ' ';
        switch (c.Command) {
        case fcNoCommand: out += "T(" + ToUtf8(c.Str) + ")"; break;
        case fcColor: out += "C(" + std::to_string(c.Data) + ")"; break;
        case fcStyle:
            out += "S(" + (c.StyleData ? std::string(1, char(c.StyleData->Style)) + std::to_string(c.StyleData->Action)
                                       : std::string("-")) + ")";
            break;
        case fcColumn: out += "Col"; break;
        case fcHSpace: out += "H(" + std::to_string(c.Data) + ")"; break;
        case fcImage: out += "I(" + std::to_string(c.Data) + ")"; break;
        }
    }
    return out;
}

std::string Parse(std::u16string_view text, TFormatCommands strip = {})
{
    TFormatChunkList chunks;
    FormattedTextParse(text, chunks, strip);
    return Describe(chunks);
}

}  // namespace

TEST(PrettyTextParse, CommandsTextAndMalformedInput)
{
    const struct {
        std::u16string_view Text;
        const char* Chunks;
    } cases[] = {
        {u"", ""},
        {u"plain text", "T(plain text)"},
        {u"a\\\\b", "T(a\\b)"},
        {u"x\\\\\\style{+B}y", "T(x\\) S(B1) T(y)"},
        {u"abc\\", "T(abc)"},
        {u"\\style{+b}x", "S(B1) T(x)"},
        {u"\\STYLE{-I}\\Style{~u}\\style{+S}", "S(I-1) S(U0) S(S1)"},
        {u"\\style{*B}x", "T(x)"},
        {u"\\style{+X}x", "T(x)"},
        {u"\\style{+BB}x", "T(x)"},
        {u"\\style{}x", "T(x)"},
        {u"a\\column{}b", "T(a) Col T(b)"},
        {u"a\\column{1}b", "T(a) T(b)"},
        {u"a\\bogus{1}b", "T(a) T(b)"},
        {u"a\\nobrace b", "T(a)"},
        {u"a\\style{+B b", "T(a)"},
        {u"\\Color{clRed}\\color{$FF0000}\\COLOR{123}", "C(255) C(16711680) C(123)"},
        {u"\\hspace{12}\\image{3}", "H(12) I(3)"},
        {u"\\hspace{-4}", "H(-4)"},
    };
    for (const auto& c : cases) EXPECT_EQ(Parse(c.Text), c.Chunks) << ToUtf8(c.Text);
}

TEST(PrettyTextParse, StrippedCommandsAreReadButNotStored)
{
    EXPECT_EQ(Parse(u"\\color{clRed}a\\style{+B}b\\column{}c", {fcColor, fcStyle}), "T(a) T(b) Col T(c)");
    EXPECT_EQ(Parse(u"\\hspace{1}\\image{0}", {fcHSpace, fcImage}), "");
}

TEST(PrettyTextParse, ParametersThatAreNoNumberMakeTheCommandMalformed)
{
    EXPECT_EQ(Parse(u"\\color{noColour}a", {}), "T(a)");
    EXPECT_EQ(Parse(u"\\hspace{zz}x", {}), "T(x)");
    EXPECT_EQ(Parse(u"\\image{}\\hspace{2}", {}), "H(2)");
    EXPECT_EQ(Parse(u"a\\color{} b", {}), "T(a) T( b)");
}

TEST(PrettyText, PlainTextOfTheProgramsItems)
{
    EXPECT_EQ(FormattedTextToPlain(u" \\column{}\\style{+B}DUP\\style{-B} ( n -- n n ) dup"), u" DUP ( n -- n n ) dup");
    EXPECT_EQ(FormattedTextToPlain(u" \\column{}\\style{+B}a\\\\b\\style{-B} c:\\\\"), u" a\\b c:\\");
    EXPECT_EQ(FormattedTextToPlain(u"\\color{clRed}\\image{2}\\hspace{4}x"), u"x");
}

TEST(PrettyText, ParameterListHighlightsOneItem)
{
    EXPECT_EQ(FormatParameterList(u"a, b,c", 1), u"a \\style{~B}b\\style{~B} c");
    EXPECT_EQ(FormatParameterList(u"a,b", 5), u"a b");
    EXPECT_EQ(FormatParameterList(u"", 0), u"");
}

class PrettyTextPaint : public ::testing::Test {
protected:
    PrettyTextPaint()
    {
        canvas.SetFont(font);
        canvas.Calls.clear();
    }

    int Paint(std::u16string_view text, const TRect& rect, bool onlyCalcWidth, const TCustomImageList* images = nullptr,
              const TProposalColumns* columns = nullptr)
    {
        TFormatChunkList chunks;
        FormattedTextParse(text, chunks, {});
        return FormattedTextPaint(canvas, rect, chunks, onlyCalcWidth, images, columns);
    }

    std::vector<CanvasCall> Texts() const { return canvas.Of(CanvasCall::Kind::TextOut); }

    RecordingGraphicsFactory factory;
    RecordingCanvas canvas;
    TFont font{u"Sans", -13, 0, clNavy};
};

TEST_F(PrettyTextPaint, ColoursStylesAndSpaceThenTheFontIsRestored)
{
    EXPECT_EQ(Paint(u"ab\\color{clRed}\\style{+B}cd\\style{~B}\\hspace{4}e", {10, 5, 1000, 21}, false), 54);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].Text, u"ab");
    EXPECT_EQ(texts[0].Point, (TPoint{10, 5}));
    EXPECT_EQ(texts[0].Color, clNavy);
    EXPECT_EQ(texts[1].Point, (TPoint{26, 5}));
    EXPECT_EQ(texts[1].Color, 0x0000FF);
    EXPECT_EQ(texts[1].Font.Style, TFontStyles(TFontStyle::fsBold));
    EXPECT_EQ(texts[2].Point, (TPoint{46, 5}));
    EXPECT_EQ(texts[2].Font.Style, 0);
    EXPECT_EQ(canvas.Font(), font);
    EXPECT_EQ(canvas.BrushStyle, TBrushStyle::bsSolid);
}

TEST_F(PrettyTextPaint, MeasuringDrawsNothingAndGivesTheSameWidth)
{
    const std::u16string_view text = u"ab\\color{clRed}cd\\hspace{4}e";
    const int drawn = Paint(text, {3, 0, 1000, 16}, false);
    canvas.Calls.clear();
    EXPECT_EQ(Paint(text, {3, 0, 1000, 16}, true), drawn);
    EXPECT_TRUE(Texts().empty());
    for (const CanvasCall& c : canvas.Of(CanvasCall::Kind::SetFont)) EXPECT_EQ(c.Font.Color, clNavy);
    EXPECT_EQ(FormattedTextWidth(canvas, u"\\color{clRed}ab\\hspace{3}", nullptr, nullptr), 19);
}

TEST_F(PrettyTextPaint, TheWalkStopsAfterTheChunkThatPassesTheRightEdge)
{
    EXPECT_EQ(Paint(u"aaaa\\hspace{100}bb", {0, 0, 20, 16}, false), 32);
    EXPECT_EQ(Texts().size(), 1u);
    canvas.Calls.clear();
    EXPECT_EQ(Paint(u"aa\\hspace{100}bb", {0, 0, 20, 16}, false), 116);
    EXPECT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Paint(u"a\\hspace{2147483647}\\hspace{2147483647}", {0, 0, INT_MAX, 16}, true), INT_MAX);
}

TEST_F(PrettyTextPaint, ColumnsStartAtTheirOffsetsWithTheirStyles)
{
    TProposalColumns columns(nullptr);
    columns.Add().SetFontStyle(TFontStyles(TFontStyle::fsBold));
    columns.Add().SetFontStyle(TFontStyles(TFontStyle::fsItalic));
    Paint(u"a long first column\\column{}b\\column{}c\\column{}d", {5, 0, 1000, 16}, false, nullptr, &columns);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].Point.X, 5);
    EXPECT_EQ(texts[0].Font.Style, TFontStyles(TFontStyle::fsBold));
    EXPECT_EQ(texts[1].Point.X, 105);
    EXPECT_EQ(texts[1].Font.Style, TFontStyles(TFontStyle::fsItalic));
    // Past the last column the style stays and further column commands do nothing.
    EXPECT_EQ(texts[2].Point.X, 205);
    EXPECT_EQ(texts[3].Point.X, 213);
    EXPECT_EQ(canvas.Font(), font);

    canvas.Calls.clear();
    TProposalColumns none(nullptr);
    Paint(u"a\\column{}b", {0, 0, 1000, 16}, false, nullptr, &none);
    EXPECT_EQ(Texts()[1].Point.X, 8);
}

TEST_F(PrettyTextPaint, AnItemWithAMalformedCommandIsDrawnWithoutIt)
{
    FormattedTextDraw(canvas, {0, 0, 1000, 16}, u"\\hspace{zz}x\\color{no colour}y", false, nullptr, nullptr);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, u"x");
    EXPECT_EQ(texts[1].Point.X, 8);
    EXPECT_EQ(FormattedTextWidth(canvas, u"\\hspace{zz}x\\image{?}", nullptr, nullptr), 8);
}

TEST_F(PrettyTextPaint, ImagesComeFromTheImageList)
{
    TCustomImageList images(11, 14);
    RecordingBitmap picture(22, 14);
    images.Add(picture);
    images.Add(picture);
    canvas.Calls.clear();
    EXPECT_EQ(Paint(u"\\image{1}x", {4, 2, 1000, 16}, false, &images), 23);
    const auto copies = canvas.Of(CanvasCall::Kind::CopyRect);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].Rect, (TRect{4, 2, 15, 16}));
    EXPECT_EQ(copies[0].SourceRect, (TRect{11, 0, 22, 14}));
    EXPECT_EQ(Texts()[0].Point.X, 15);

    canvas.Calls.clear();
    EXPECT_EQ(Paint(u"\\image{1}x", {4, 2, 1000, 16}, true, &images), 23);
    EXPECT_TRUE(canvas.Of(CanvasCall::Kind::CopyRect).empty());
    EXPECT_THROW(Paint(u"\\image{0}", {0, 0, 100, 16}, false), EAssertionFailed);
}

TEST_F(PrettyTextPaint, ASelectedItemKeepsTheCanvasColour)
{
    FormattedTextDraw(canvas, {0, 0, 100, 16}, u"\\color{clRed}a", true, nullptr, nullptr);
    FormattedTextDraw(canvas, {0, 0, 100, 16}, u"\\color{clRed}a", false, nullptr, nullptr);
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Color, clNavy);
    EXPECT_EQ(texts[1].Color, 0x0000FF);
}

TEST(ProposalColumns, AddInsertFindAndAssign)
{
    TProposalColumns columns(nullptr);
    TProposalColumn& first = columns.Add();
    first.SetColumnWidth(40);
    TProposalColumn& inserted = columns.Insert(0);
    EXPECT_EQ(&columns.Items(1), &first);
    EXPECT_EQ(columns.FindItemID(first.ID()), &first);
    EXPECT_EQ(columns.FindItemID(inserted.ID()), &inserted);
    EXPECT_EQ(columns.FindItemID(99), nullptr);
    EXPECT_THROW(columns.Insert(3), std::out_of_range);
    EXPECT_EQ(inserted.ColumnWidth(), 100);
    EXPECT_EQ(inserted.InternalWidth(), -1);

    TProposalColumns copy(nullptr);
    copy.Assign(columns);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Items(1).ColumnWidth(), 40);
    EXPECT_THROW(first.Assign(copy), std::invalid_argument);
}
