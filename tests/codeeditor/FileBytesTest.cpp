// Text files that are hard to read back as they were, opened and saved by both pages: each comes
// back byte for byte, or the save asks first.
#include <filesystem>
#include <optional>
#include "codeeditor/CodeEditorFixture.h"

namespace {

using R = TModalResult;

const UnicodeString kUndecodedQuestion =
    u"The file this text was read from ends in a byte that is not UTF-16 text. It was read as \"\uFFFD\" (U+FFFD), "
    u"which would be saved in its place.\n\nSave anyway?";

/// A file, and what each page's save writes after it opened it; empty for the very bytes read.
struct Row {
    const char* Name;
    std::string Bytes;
    std::string CodeEditor;
    std::string BlockManager;
    /// The save asks first: Cancel writes nothing, OK writes what the columns say.
    bool Asks = false;
};

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values) out += char(v);
    return out;
}

const std::string kUtf8Mark = "\xEF\xBB\xBF";
/// U+2028 in UTF-8.
const std::string kU2028 = "\xE2\x80\xA8";

const Row kRows[] = {
    {"utf-8, a byte that is not", kUtf8Mark + "caf\xC3\xA9 \xFF ok\r\n", "", ""},
    {"utf-8, a sequence cut at the end", kUtf8Mark + "a\r\n\xE2\x82", "", kUtf8Mark + "a\r\n\xE2\x82\r\n"},
    {"utf-8 mark and nothing after it", kUtf8Mark, "", ""},
    {"utf-16 le mark and nothing after it", "\xFF\xFE", "", ""},
    {"utf-16 be mark and nothing after it", "\xFE\xFF", "", ""},
    {"utf-16 le, odd last byte", Bytes({0xFF, 0xFE, 'a', 0, '\r', 0, '\n', 0, 'b'}),
     Bytes({0xFF, 0xFE, 'a', 0, '\r', 0, '\n', 0, 0xFD, 0xFF}),
     Bytes({0xFF, 0xFE, 'a', 0, '\r', 0, '\n', 0, 0xFD, 0xFF, '\r', 0, '\n', 0}), true},
    {"utf-16 be, odd last byte", Bytes({0xFE, 0xFF, 0, 'a', 0, '\r', 0, '\n', 'b'}),
     Bytes({0xFE, 0xFF, 0, 'a', 0, '\r', 0, '\n', 0xFF, 0xFD}),
     Bytes({0xFE, 0xFF, 0, 'a', 0, '\r', 0, '\n', 0xFF, 0xFD, 0, '\r', 0, '\n'}), true},
    {"8-bit text that starts as utf-16 le, odd length", "\xFF\xFE" "ab\r\nc", "\xFF\xFE" "ab\r\n\xFD\xFF",
     "\xFF\xFE" "ab\r\n\xFD\xFF" + Bytes({'\r', 0, '\n', 0}), true},
    {"utf-16 le, a lone surrogate", Bytes({0xFF, 0xFE, 0x00, 0xD8, 'x', 0, '\r', 0, '\n', 0}), "", ""},
    {"8-bit, bytes that are not utf-8", "caf\xE9 \x80\x81\r\n", "", ""},
    {"utf-8, u+2028 the only break", kUtf8Mark + "a" + kU2028 + "b", "", kUtf8Mark + "a" + kU2028 + "b\r\n"},
    {"utf-8, u+2028 inside cr lf lines", kUtf8Mark + "a" + kU2028 + "b\r\nc\r\n", "", ""},
    {"utf-8, u+2028 before each cr lf", kUtf8Mark + "a" + kU2028 + "\r\nb" + kU2028 + "\r\n", "", ""},
    {"utf-16 le, u+2028 inside lf lines", Bytes({0xFF, 0xFE, 'a', 0, 0x28, 0x20, 'b', 0, '\n', 0}), "",
     Bytes({0xFF, 0xFE, 'a', 0, 0x28, 0x20, 'b', 0, '\r', 0, '\n', 0})},
};

using FileBytes = CodeEditorTest;

TEST_F(FileBytes, FilesOpenedAndSavedByEitherPageKeepTheirBytesOrTheSaveAsksFirst)
{
    const UnicodeString source = folder.Name("in.forth"), text = folder.Name("in.txt");
    for (const Row& row : kRows) {
        const std::vector<std::optional<R>> answers =
            row.Asks ? std::vector<std::optional<R>>{R::mrCancel, R::mrOk} : std::vector<std::optional<R>>{std::nullopt};
        for (const bool codeEditor : {true, false}) {
            for (const std::optional<R>& answer : answers) {
                SCOPED_TRACE(std::string(row.Name) + (codeEditor ? ", code editor" : ", block manager") +
                             (answer ? (*answer == R::mrOk ? ", OK" : ", Cancel") : ""));
                std::filesystem::remove(folder.Path("in.forth.blk"));
                folder.Write(codeEditor ? "in.forth" : "in.txt", row.Bytes);
                dialogs.Questions.clear();
                if (answer) dialogs.Answers = {*answer};
                bool saved;
                if (codeEditor) {
                    dialogs.FileAnswers = {source};
                    ASSERT_TRUE(actions.Find(u"EditorOpenFileAct")->Execute());
                    saved = page.SaveEditorFile(source, true);
                } else {
                    ASSERT_TRUE(blocks.LoadBlockTextFile(text));
                    saved = blocks.SaveBlockManagerFile(text);
                }
                const std::string expected = codeEditor ? row.CodeEditor : row.BlockManager;
                const bool written = answer != R::mrCancel;
                EXPECT_EQ(saved, written);
                EXPECT_EQ(folder.Read(codeEditor ? "in.forth" : "in.txt"),
                          written && !expected.empty() ? expected : row.Bytes);
                std::vector<UnicodeString> asked;
                for (const auto& q : dialogs.Questions) asked.push_back(q.Text);
                EXPECT_EQ(asked, row.Asks ? std::vector<UnicodeString>{kUndecodedQuestion} : std::vector<UnicodeString>{});
                if (codeEditor) {
                    EXPECT_EQ(std::filesystem::exists(folder.Path("in.forth.blk")), written);
                }
            }
        }
    }
}

}  // namespace
