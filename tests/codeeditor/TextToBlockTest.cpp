#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "codeeditor/TextToBlock.h"

namespace {

std::string Padded(std::string text, std::size_t size)
{
    text.resize(size, ' ');
    return text;
}

/// Blocks whose text runs on from line to line.
std::string Blocks(const std::vector<std::string>& blocks)
{
    std::string out;
    for (const std::string& b : blocks) out += Padded(b, 1024);
    return out;
}

/// One block given line by line.
std::string BlockOfLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += Padded(line, 64);
    return Padded(text, 1024);
}

std::string Times(const std::string& word, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += word;
    return out;
}

struct Options {
    bool CompileStartsLine = false;
    bool WordWrap = false;
    bool CaptionAllBlocks = false;
    bool CaptionPrintableAll = false;
    UnicodeString Caption;
};

std::string Convert(const std::string& source, const Options& o = {}, const TStringList& paired = TStringList())
{
    return ConvertTextToBlocks(o.Caption, source, o.CompileStartsLine, o.WordWrap, o.CaptionAllBlocks,
                               o.CaptionPrintableAll, paired);
}

}  // namespace

TEST(TextToBlock, SourcesGiveTheseBlocks)
{
    struct Case {
        const char* what;
        std::string source;
        Options options;
        std::string blocks;
    };
    Options compile;
    compile.CompileStartsLine = true;
    Options wrap;
    wrap.WordWrap = true;
    Options caption;
    caption.Caption = u"DEMO";
    Options captionCompile = caption;
    captionCompile.CompileStartsLine = true;

    const std::vector<Case> cases = {
        {"comments dropped, whatever the line breaks", "DUP \\\r\nSWAP \\ rest\nDROP ( a)b (a) .( hi ) OVER\r\\ x\rNIP",
         {}, Blocks({"DUP SWAP DROP b (a) OVER NIP "})},
        {"comments that run to the end of the source", "1 \\ one\n2 .( two ) 3 (", {}, Blocks({"1 2 3 "})},
        {"a definition and its stack comment", ": SQUARE ( n -- n*n ) DUP * ;", {}, Blocks({": SQUARE DUP * ; "})},
        {"string words keep their string", "S\" hello world\" TYPE .\" a  b\" abort\" x\"y", {},
         Blocks({"S\" hello world\" TYPE .\" a  b\" abort\" x\" y "})},
        {"a string word with nothing after it stays alone", "CR .\"", {}, Blocks({"CR .\" "})},
        {"name words take the next word, comments are not skipped there", "VARIABLE ( X ' DUP", {},
         Blocks({"VARIABLE ( X ' DUP "})},
        {"definitions start lines", "1 2 : A ; :NONAME 3 ; 4 DOES> 5 ;", compile,
         BlockOfLines({"1 2 ", ": A ; ", ":NONAME 3 ; 4 ", "DOES> 5 ; "})},
        {"a definition right after the caption stays on line 1", ": A ;", captionCompile,
         BlockOfLines({".( DEMO )", ": A ; "})},
        {"word wrap moves a word that would reach column 64", Times("AAA ", 15) + "BBB", wrap,
         BlockOfLines({Times("AAA ", 15), "BBB "})},
        {"without word wrap words run on", Times("AAA ", 15) + "BBBB", {}, Blocks({Times("AAA ", 15) + "BBBB "})},
        {"a word longer than a line starts at a line start and stays there", "A " + std::string(70, 'L'), wrap,
         BlockOfLines({"A ", std::string(64, 'L'), std::string(6, 'L') + " "})},
        {"a source of comments gives no block", "\\ only\r\n( a comment ) .( and another )", {}, {}},
        {"an empty source gives no block", "", {}, {}},
        {"256 words of 4 bytes fill two blocks", Times("ABC ", 256), {}, Blocks({Times("ABC ", 255), "ABC "})},
        {"a string without its quote ends after 256 bytes", "S\" " + std::string(300, 'q'), {},
         Blocks({"S\" " + std::string(256, 'q') + " " + std::string(44, 'q') + " "})},
    };
    for (const Case& c : cases) EXPECT_EQ(Convert(c.source, c.options), c.blocks) << c.what;
}

TEST(TextToBlock, DefiningWordsMadeWithCreateTakeTheirName)
{
    Options wrap;
    wrap.WordWrap = true;
    // Thirteen fillers bring "CONST:" to column 54: it would fit alone, "CONST: FIVE" does not.
    const std::string head = ": CONST: CREATE , DOES> @ ; " + Times("X ", 13);
    EXPECT_EQ(Convert(head + "CONST: FIVE", wrap), BlockOfLines({head, "CONST: FIVE "}));

    TStringList paired;
    paired.Add(u"mydef");
    const std::string filler = Times("X ", 27);
    EXPECT_EQ(Convert(filler + "MyDef NAME", wrap, paired), BlockOfLines({filler, "MyDef NAME "}));
    EXPECT_EQ(Convert(filler + "MyDef NAME", wrap), BlockOfLines({filler + "MyDef ", "NAME "}));
}

TEST(TextToBlock, CaptionsOnTheFirstOrOnEveryBlock)
{
    const std::string source = Times("ABC ", 300);
    Options first;
    first.Caption = u"DEMO";
    std::string out = Convert(source, first);
    ASSERT_EQ(out.size(), 2048u);
    EXPECT_EQ(out.substr(0, 64), Padded(".( DEMO )", 64));
    EXPECT_EQ(out.substr(64, 4), "ABC ");
    EXPECT_EQ(out.substr(1024, 4), "ABC ");

    Options all = first;
    all.CaptionAllBlocks = true;
    all.CaptionPrintableAll = true;
    out = Convert(source, all);
    EXPECT_EQ(out.substr(0, 64), Padded(".( DEMO )", 64));
    EXPECT_EQ(out.substr(1024, 64), Padded(".( DEMO  2 )", 64));
    all.CaptionPrintableAll = false;
    EXPECT_EQ(Convert(source, all).substr(1024, 64), Padded("( DEMO  2 )", 64));

    EXPECT_EQ(CaptionText(UnicodeString(70, u'c'), 1, false, false), ".( " + std::string(54, 'c') + " )");
    EXPECT_EQ(CaptionText(u"", 3, true, true), "");
}

TEST(TextToBlock, AWordTooLongForAnEmptyBlockIsCut)
{
    const std::string word(1100, 'W');
    std::string out = Convert(word + " NEXT");
    ASSERT_EQ(out.size(), 2048u);
    EXPECT_EQ(out.substr(0, 1024), Padded(std::string(1022, 'W'), 1024));
    EXPECT_EQ(out.substr(1024), Blocks({"NEXT "}));

    Options caption;
    caption.Caption = u"C";
    caption.CaptionAllBlocks = true;
    out = Convert("A " + word, caption);
    ASSERT_EQ(out.size(), 2048u);
    EXPECT_EQ(out.substr(1024), Padded("( C  2 )", 64) + Padded(std::string(958, 'W'), 960));
}

TEST(TextToBlock, AWordThatOnlyTheFirstCaptionKeepsOutGoesWholeIntoTheNextBlock)
{
    // Words of 958 to 1021 bytes fit an uncaptioned block but not one behind a caption line.
    for (const std::size_t size : {std::size_t(958), std::size_t(1000), std::size_t(1021)}) {
        for (const bool wordWrap : {false, true}) {
            Options o;
            o.Caption = u"DEMO";
            o.WordWrap = wordWrap;
            const std::string word(size, 'X');
            EXPECT_EQ(Convert(word, o), Padded(".( DEMO )", 1024) + Padded(word, 1024)) << size;
        }
    }
    Options o;
    o.Caption = u"DEMO";
    EXPECT_EQ(Convert(std::string(1000, 'X') + " NEXT", o),
              Padded(".( DEMO )", 1024) + Padded(std::string(1000, 'X') + " NEXT", 1024));
}
