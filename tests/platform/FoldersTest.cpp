#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include "platform/FileReplacement.h"
#include "platform/Folders.h"
#include "platform/Stream.h"
#include "support/Unprivileged.h"

namespace {

namespace fs = std::filesystem;

class Folders : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A folder of its own, also apart from the same test run at the same time by another build.
        std::string pattern = (fs::temp_directory_path() / "tavlo-folders-XXXXXX").string();
        fDir = ::mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(fDir); }
    UnicodeString Name(const std::string& rel) const { return FromUtf8((fDir / rel).string()); }
    std::string Read(const std::string& rel) const
    {
        std::string bytes;
        EXPECT_TRUE(ReadFileBytes(Name(rel), bytes));
        return bytes;
    }
    int EntryCount() const { return int(std::distance(fs::directory_iterator(fDir), fs::directory_iterator())); }
    fs::path fDir;
};

TEST_F(Folders, SafeSaveReplacesTheFileWithExactBytes)
{
    std::string bytes("a\0b\r\n\xFF", 6);
    ASSERT_EQ(SaveFileSafely(Name("f.bin"), "old"), u"");
    ASSERT_EQ(SaveFileSafely(Name("f.bin"), bytes), u"");
    EXPECT_EQ(Read("f.bin"), bytes);
    EXPECT_EQ(EntryCount(), 1) << "no temporary file is left";
}

/// The two ways the program writes a file: whole, or as a stream of pieces (a download's blocks).
struct Writer {
    const char* Name;
    UnicodeString (*Write)(const UnicodeString& fileName, const std::string& bytes);
};

const Writer kWriters[] = {
    {"whole", [](const UnicodeString& fileName, const std::string& bytes) { return SaveFileSafely(fileName, bytes); }},
    {"stream",
     [](const UnicodeString& fileName, const std::string& bytes) {
         TFileReplacementStream stream(fileName);
         for (std::size_t at = 0; at < bytes.size(); at += 1024) {
             const int piece = int(std::min<std::size_t>(1024, bytes.size() - at));
             if (stream.Write(bytes.data() + at, piece) != piece) return stream.Error();
         }
         return stream.Error().empty() ? stream.Commit() : stream.Error();
     }},
};

TEST_F(Folders, SavesKilledHalfwayLeaveNothingBehindTheNextSave)
{
    const std::string big(1u << 20, 'k');
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.Name);
        ASSERT_EQ(writer.Write(Name("f.bin"), "old"), u"");
        for (int kill = 0; kill < 40; ++kill) {
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                for (;;) writer.Write(Name("f.bin"), big);
            }
            // Killed at ever other points of a save: while writing, syncing or renaming.
            std::this_thread::sleep_for(std::chrono::microseconds(500 + 97 * kill));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const std::string now = Read("f.bin");
            EXPECT_TRUE(now == "old" || now == big) << "a killed save never leaves a torn file";
        }
        ASSERT_EQ(writer.Write(Name("f.bin"), "last"), u"");
        EXPECT_EQ(Read("f.bin"), "last");
        EXPECT_EQ(EntryCount(), 1) << "temporary files of killed saves are left behind";
    }
}

TEST_F(Folders, ADiskThatFillsUpLeavesTheFileAsItWas)
{
    const std::string big(1u << 20, 'f');
    for (const Writer& writer : kWriters) {
        for (const bool existed : {true, false}) {
            SCOPED_TRACE(std::string(writer.Name) + (existed ? " over a file" : " where none was"));
            fs::remove(fDir / "f.bin");
            if (existed) {
                ASSERT_EQ(SaveFileSafely(Name("f.bin"), "old"), u"");
            }
            const pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                // A file-size limit stands in for a full disk: a write past it fails with EFBIG.
                ::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{64 * 1024, 64 * 1024};
                ::setrlimit(RLIMIT_FSIZE, &limit);
                const UnicodeString error = writer.Write(Name("f.bin"), big);
                ::_exit(error.find(u"Cannot write \"" + Name("f.bin") + u"\"") == 0 ? 0 : 1);
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the failure is reported with the name";
            EXPECT_EQ(fs::exists(fDir / "f.bin"), existed);
            if (existed) {
                EXPECT_EQ(Read("f.bin"), "old");
            }
            EXPECT_EQ(EntryCount(), existed ? 1 : 0) << "the temporary file is removed";
        }
    }
}

TEST_F(Folders, AFileTheUserMayNotWriteIsRefusedAndOneInAFolderTheyMayNotIsWrittenInPlace)
{
    if (!CanRunUnprivileged()) GTEST_SKIP() << "running as root and no unprivileged user to save as";
    fs::permissions(fDir, fs::perms::all);
    const std::string big(1u << 20, 'b');
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.Name);
        const std::string open = "open-" + std::string(writer.Name), shut = "shut-" + std::string(writer.Name);
        fs::create_directory(fDir / open);
        fs::permissions(fDir / open, fs::perms::all);
        const FileState readOnly = PutFile((fDir / open / "ro.bin").string(), "old", fs::perms(0444));
        // Left by another program: no save of ours made it.
        PutFile((fDir / open / ".ro.bin.tmp").string(), "", fs::perms(0666));
        fs::create_directory(fDir / shut);
        PutFile((fDir / shut / "rw.bin").string(), "old", fs::perms(0666));
        PutFile((fDir / shut / "full.bin").string(), "old", fs::perms(0666));
        fs::permissions(fDir / shut, fs::perms(0555));

        RunUnprivileged([&] {
            EXPECT_EQ(writer.Write(Name(open + "/ro.bin"), "new"),
                      u"Cannot write \"" + Name(open + "/ro.bin") + u"\": Permission denied");
            EXPECT_EQ(writer.Write(Name(open + "/ro.bin"), ""), u"Cannot write \"" + Name(open + "/ro.bin") +
                                                                   u"\": Permission denied");
            EXPECT_EQ(writer.Write(Name(shut + "/rw.bin"), "new contents"), u"");
            EXPECT_EQ(writer.Write(Name(shut + "/new.bin"), "x"),
                      u"Cannot create \"" + Name(shut + "/new.bin") + u"\": Permission denied");
            // A write in place that fails says so, and no more.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64 * 1024, 64 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            EXPECT_EQ(writer.Write(Name(shut + "/full.bin"), big).find(u"Cannot write \"" + Name(shut + "/full.bin") +
                                                                       u"\": "),
                      0u);
        });
        EXPECT_EQ(StateOf((fDir / open / "ro.bin").string()), readOnly);
        EXPECT_TRUE(fs::exists(fDir / open / ".ro.bin.tmp")) << "a file that no save of ours made stays";
        EXPECT_EQ(StateOf((fDir / shut / "rw.bin").string()), (FileState{"new contents", fs::perms(0666)}));
        EXPECT_EQ(std::distance(fs::directory_iterator(fDir / shut), fs::directory_iterator()), 2);
        fs::permissions(fDir / shut, fs::perms::all);
    }
}

TEST_F(Folders, SavesOfOneFileAtOnceNeverMixTheirBytes)
{
    const std::string a(256 * 1024, 'a'), b(256 * 1024, 'b');
    auto saver = [&](const std::string& bytes) {
        for (int i = 0; i < 30; ++i) EXPECT_EQ(SaveFileSafely(Name("f.bin"), bytes), u"");
    };
    std::thread first(saver, std::cref(a)), second(saver, std::cref(b));
    first.join();
    second.join();
    const std::string now = Read("f.bin");
    EXPECT_TRUE(now == a || now == b);
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(Folders, SafeSaveOfTheLongestNameWorks)
{
    const std::string name(255, 'n');
    ASSERT_EQ(SaveFileSafely(Name(name), "x"), u"");
    EXPECT_EQ(Read(name), "x");
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(Folders, SafeSaveOverFolderFailsAndLeavesNoTemporary)
{
    fs::create_directory(fDir / "sub");
    std::ofstream(fDir / "sub" / "keep.txt") << "x";
    UnicodeString reason = SaveFileSafely(Name("sub"), "new");
    EXPECT_NE(reason, u"");
    EXPECT_NE(reason.find(Name("sub")), UnicodeString::npos) << ToUtf8(reason);
    EXPECT_TRUE(fs::is_directory(fDir / "sub"));
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(Folders, SafeSaveBelowARegularFileFails)
{
    ASSERT_EQ(SaveFileSafely(Name("plain"), "old"), u"");
    EXPECT_NE(SaveFileSafely(Name("plain/inner.txt"), "new"), u"");
    EXPECT_EQ(Read("plain"), "old");
}

TEST_F(Folders, SafeSaveKeepsPermissionsAndFollowsLinks)
{
    ASSERT_EQ(SaveFileSafely(Name("target"), "old"), u"");
    fs::permissions(fDir / "target", fs::perms(0640));
    fs::create_symlink(fDir / "target", fDir / "link");
    ASSERT_EQ(SaveFileSafely(Name("link"), "new"), u"");
    EXPECT_TRUE(fs::is_symlink(fDir / "link"));
    EXPECT_EQ(Read("target"), "new");
    EXPECT_EQ(fs::status(fDir / "target").permissions() & fs::perms::all, fs::perms(0640));
}

TEST_F(Folders, ExistenceDeletionTimesAndFolderCreation)
{
    ASSERT_TRUE(ForceDirectories(Name("a/b/c/")));
    EXPECT_TRUE(DirectoryExists(Name("a/b/c")));
    EXPECT_FALSE(FileExists(Name("a/b")));
    EXPECT_FALSE(ForceDirectories(u""));

    ASSERT_EQ(SaveFileSafely(Name("a/f"), "x"), u"");
    EXPECT_TRUE(FileExists(Name("a/f")));
    EXPECT_FALSE(DirectoryExists(Name("a/f")));
    EXPECT_FALSE(ForceDirectories(Name("a/f/g")));
    auto older = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(fDir / "a/f", older);
    auto t = FileModifiedTime(Name("a/f"));
    ASSERT_TRUE(t.has_value());
    ASSERT_EQ(SaveFileSafely(Name("a/g"), "y"), u"");
    EXPECT_LT(*t, *FileModifiedTime(Name("a/g")));

    EXPECT_TRUE(DeleteFile(Name("a/f")));
    EXPECT_FALSE(DeleteFile(Name("a/f")));
    EXPECT_FALSE(FileModifiedTime(Name("a/f")).has_value());
    std::string bytes = "unchanged";
    EXPECT_FALSE(ReadFileBytes(Name("a/f"), bytes));
    EXPECT_FALSE(ReadFileBytes(Name("a"), bytes));
    EXPECT_EQ(bytes, "unchanged");
}

TEST(FolderNames, PartsOfAFileName)
{
    EXPECT_EQ(ExtractFilePath(u"/x/y.d/name.blk"), u"/x/y.d/");
    EXPECT_EQ(ExtractFileName(u"/x/y.d/name.blk"), u"name.blk");
    EXPECT_EQ(ExtractFileExt(u"/x/y.d/name.blk"), u".blk");
    EXPECT_EQ(ExtractFileExt(u"/x/y.d/name"), u"");
    EXPECT_EQ(ExtractFilePath(u"name.txt"), u"");
    EXPECT_EQ(ExtractFileName(u"name.txt"), u"name.txt");
}

TEST(FolderNames, AppDataFolderFollowsXdgThenHome)
{
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    std::string savedXdg = oldXdg ? oldXdg : "";
    const char* oldHome = std::getenv("HOME");
    std::string savedHome = oldHome ? oldHome : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(AppDataFolder(), u"/tmp/xdg/");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(AppDataFolder(), u"/home/someone/.config/");
    if (oldXdg) ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    if (oldHome) ::setenv("HOME", savedHome.c_str(), 1);
    else ::unsetenv("HOME");
}

TEST(FolderNames, ProgramFolderHoldsTheRunningProgram)
{
    UnicodeString program = ProgramFileName();
    EXPECT_TRUE(FileExists(program));
    EXPECT_EQ(ProgramFolder() + ExtractFileName(program), program);
    EXPECT_EQ(ProgramFolder().back(), u'/');
}

} // namespace
