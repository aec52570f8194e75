// A settings or key-map file that is there but cannot be read (a FIFO, which would wait for a writer
// for ever, or a file too large to hold) is reported at start-up, the program starts from the
// defaults, and the file is left as it is when the program or the key-map form closes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <filesystem>
#include <functional>
#include "app/SettingsFile.h"
#include "app/StartupFixture.h"
#include "platform/Folders.h"
#include "settings/MapKeys.h"

namespace {

struct Unreadable {
    const char* name;
    std::function<void(const std::string& path)> make;
    UnicodeString why;
};

/// What a file looks like: its type, size and, for a small one, its bytes.
std::string Facts(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return "missing";
    std::string facts = std::to_string(st.st_mode & S_IFMT) + " " + std::to_string(st.st_size);
    if (S_ISREG(st.st_mode) && st.st_size < 4096) {
        std::ifstream in(path, std::ios::binary);
        facts += " " + std::string(std::istreambuf_iterator<char>(in), {});
    }
    return facts;
}

const std::vector<Unreadable>& Cases()
{
    static const std::vector<Unreadable> cases = {
        {"a FIFO", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
         u"\": it is a FIFO, not a regular file."},
        {"a file too large", [](const std::string& path) {
             std::ofstream(path, std::ios::binary) << "[DISPLAY]\r\nFont=kept\r\n";
             std::filesystem::resize_file(path, kMaxReadFileSize + 1);
         },
         u"\": it holds " + IntToStr(kMaxReadFileSize + 1) + u" bytes, more than the " + IntToStr(kMaxReadFileSize) +
             u" bytes a file may hold to be opened."},
    };
    return cases;
}

TEST_F(StartupTest, AnUnreadableSettingsFileIsReportedTheDefaultsHoldAndTheFileIsKept)
{
    ASSERT_TRUE(ForceDirectories(ExtractFilePath(SettingsFileName())));
    const std::string path = ToUtf8(SettingsFileName());
    for (const Unreadable& c : Cases()) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(path);
        c.make(path);
        const std::string before = Facts(path);
        ScriptedDialogs dialogs;
        TTavloTerminal window(view);
        window.FormCreate();
        ASSERT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_EQ(dialogs.Questions[0].Text, u"Cannot open file \"" + SettingsFileName() + c.why +
                                                 u" The settings start from their defaults; the file is left as it is.");
        EXPECT_EQ(window.Options->ComPortName, TConfigTermOptions().ComPortName);
        bool canClose = false;
        window.FormCloseQuery(canClose);
        EXPECT_TRUE(canClose);
        window.FormDestroy();
        EXPECT_EQ(dialogs.Questions.size(), 1u) << "the close says nothing more";
        EXPECT_EQ(Facts(path), before);
    }
}

TEST(UnreadableKeyMap, IsReportedAtCreationAndAtLoadLeavesTheBindingsAndIsKept)
{
    for (const Unreadable& c : Cases()) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        AppDataAt appData(folder.Path());
        ScriptedDialogs dialogs;
        c.make(folder.Path("odd.kmap"));
        const std::string before = Facts(folder.Path("odd.kmap"));
        const UnicodeString reason = u"Cannot open file \"" + folder.Name("odd.kmap") + c.why;

        TMapTermKeys keys(folder.Name("odd.kmap"));
        ASSERT_EQ(dialogs.Questions.size(), 1u);
        EXPECT_EQ(dialogs.Questions[0].Text, reason + u" No key is mapped; the file is left as it is.");
        EXPECT_EQ(keys.Settings().SectionCount(), 0);

        keys.SetKeyMapping(11, 0, u"kept");
        dialogs.FileAnswers = {folder.Name("odd.kmap")};
        EXPECT_FALSE(keys.LoadKeyMapClick());
        ASSERT_EQ(dialogs.Questions.size(), 2u);
        EXPECT_EQ(dialogs.Questions[1].Text, reason);
        EXPECT_EQ(keys.MappKey(112, 0), u"kept");

        EXPECT_TRUE(keys.CloseQuery().empty());
        EXPECT_EQ(Facts(folder.Path("odd.kmap")), before);
    }
}

}  // namespace
