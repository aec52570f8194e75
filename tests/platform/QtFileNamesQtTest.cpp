#include <gtest/gtest.h>
#include <QFile>
#include <filesystem>
#include "platform/FileNames.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/QtFileNames.h"
#include "support/TempFolder.h"

namespace {

/// A path as Qt's choosers give it: every byte that is not UTF-8 read as U+FFFD.
QString AsQtReadsIt(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

TEST(QtFileNamesQtTest, AChosenNameThatIsNotUtf8NamesItsOwnFileOrIsRefused)
{
    TestApplication();
    TempFolder folder;
    std::filesystem::create_directory(folder.Path("dossi\xE9"));
    folder.Write("dossi\xE9/caf\xE9.fs", "x");
    folder.Write("plain.fs", "x");
    UnicodeString refusal;

    const std::string latin1 = folder.Path("dossi\xE9/caf\xE9.fs");
    ASSERT_TRUE(AsQtReadsIt(latin1).contains(QChar::ReplacementCharacter));
    EXPECT_EQ(FileNameOfQtPath(AsQtReadsIt(latin1), refusal), FileNameFromBytes(latin1));
    EXPECT_EQ(refusal, u"");
    EXPECT_EQ(FileNameOfQtPath(AsQtReadsIt(folder.Path("plain.fs")), refusal), folder.Name("plain.fs"));
    // A new name, typed with the character itself, stays as it was typed.
    const std::string typed = folder.Path("dossi\xE9/new\xEF\xBF\xBD.fs");
    EXPECT_EQ(FileNameOfQtPath(AsQtReadsIt(typed), refusal), FileNameFromBytes(typed));

    // Two files that Qt shows alike: neither is taken for the other.
    folder.Write("dossi\xE9/caf\xE8.fs", "y");
    EXPECT_EQ(FileNameOfQtPath(AsQtReadsIt(latin1), refusal), u"");
    EXPECT_EQ(refusal, u"Cannot use \"" + AsQtReadsIt(latin1).toStdU16String() +
                           u"\": its name is not UTF-8 text, and more than one file in its folder reads the same");
}

TEST(QtFileNamesQtTest, DroppedFilesKeepTheBytesOfTheirNames)
{
    const QByteArray list = "# a comment\r\nfile:///tmp/caf%E9.fs\r\nhttp://example.invalid/x\r\nfile:///tmp/a%20b\r\n";
    const std::vector<UnicodeString> files = FileNamesOfUriList(list);
    EXPECT_EQ(files, (std::vector<UnicodeString>{FileNameFromBytes("/tmp/caf\xE9.fs"), u"/tmp/a b"}));
}

}  // namespace
