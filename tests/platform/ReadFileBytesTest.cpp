#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include "platform/Folders.h"
#include "platform/Stream.h"
#include "platform/StringList.h"
#include "support/TempFolder.h"

namespace {

/// A file of size bytes that takes no room on the disk.
void MakeSparse(const std::string& path, std::int64_t size)
{
    std::ofstream(path, std::ios::binary).close();
    std::filesystem::resize_file(path, std::uintmax_t(size));
}

/// Reads name on another thread; a read that still waits after a few seconds is a fault, and the
/// FIFO it waits on is opened for writing, so that the test ends.
bool ReadWithoutWaiting(const TempFolder& folder, const std::string& name, std::string& bytes, UnicodeString& error)
{
    auto read = std::async(std::launch::async, [&] { return ReadFileBytes(folder.Name(name), bytes, &error); });
    if (read.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return read.get();
    ADD_FAILURE() << name << ": the read waits for a writer";
    const int writer = ::open(folder.Path(name).c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
    return read.get();
}

}  // namespace

TEST(ReadFileBytes, OnlyRegularFilesWithinTheLimitAreRead)
{
    TempFolder folder;
    const std::string bytes("a\0b\r\n\xFF", 6);
    folder.Write("plain.bin", bytes);
    ASSERT_EQ(::mkfifo(folder.Path("pipe.forth").c_str(), 0600), 0);
    std::filesystem::create_directory(folder.Path("folder.blk"));
    MakeSparse(folder.Path("huge.forth"), kMaxReadFileSize + 1);
    MakeSparse(folder.Path("limit.forth"), kMaxReadFileSize);
    ::symlink("/dev/zero", folder.Path("zero.blk").c_str());

    struct Case {
        std::string Name;
        UnicodeString Reason;  // empty: read whole
    };
    const Case cases[] = {
        {"plain.bin", u""},
        {"limit.forth", u""},
        {"pipe.forth", u"it is a FIFO, not a regular file"},
        {"zero.blk", u"it is a device, not a regular file"},
        {"folder.blk", u"it is a folder"},
        {"huge.forth", u"it holds " + IntToStr(kMaxReadFileSize + 1) + u" bytes, more than the " +
                           IntToStr(kMaxReadFileSize) + u" bytes a file may hold to be opened"},
        {"missing.forth", u"No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string read = "unchanged";
        UnicodeString error;
        const bool ok = ReadWithoutWaiting(folder, c.Name, read, error);
        if (c.Reason.empty()) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(error, u"");
            EXPECT_EQ(read.size(), std::filesystem::file_size(folder.Path(c.Name)));
            continue;
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(read, "unchanged");
        EXPECT_EQ(error, u"Cannot open file \"" + folder.Name(c.Name) + u"\": " + c.Reason + u".");
    }
    std::string read;
    ASSERT_TRUE(ReadFileBytes(folder.Name("plain.bin"), read));
    EXPECT_EQ(read, bytes);
}

TEST(ReadFileBytes, LoadersPassTheReasonOn)
{
    TempFolder folder;
    ASSERT_EQ(::mkfifo(folder.Path("pipe.txt").c_str(), 0600), 0);
    const UnicodeString expected = u"Cannot open file \"" + folder.Name("pipe.txt") + u"\": it is a FIFO, not a regular file.";

    TStringList lines;
    lines.Add(u"kept");
    UnicodeString error;
    EXPECT_FALSE(lines.LoadFromFile(folder.Name("pipe.txt"), &error));
    EXPECT_EQ(error, expected);
    EXPECT_EQ(lines.Count(), 1);

    TMemoryStream stream(std::string("kept"));
    error.clear();
    EXPECT_FALSE(stream.LoadFromFile(folder.Name("pipe.txt"), &error));
    EXPECT_EQ(error, expected);
    EXPECT_EQ(stream.Bytes(), "kept");
}

TEST(ReadFileBytes, AFileMemoryCannotHoldIsRefusedAndTheProgramGoesOn)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit leaves";
#else
    TempFolder folder;
    const std::int64_t size = kMaxReadFileSize;
    MakeSparse(folder.Path("big.forth"), size);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Room for what the process holds now and a little more, far less than the file.
        std::ifstream statm("/proc/self/statm");
        long pages = 0;
        statm >> pages;
        const rlim_t limit = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + (8u << 20);
        const rlimit rl{limit, limit};
        if (::setrlimit(RLIMIT_AS, &rl) != 0) ::_exit(2);
        std::string bytes;
        UnicodeString error;
        const bool read = ReadFileBytes(folder.Name("big.forth"), bytes, &error);
        const UnicodeString expected = u"Cannot open file \"" + folder.Name("big.forth") +
                                       u"\": there is not enough memory to hold its " + IntToStr(size) + u" bytes.";
        ::_exit(!read && error == expected ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the read ended the program";
    EXPECT_EQ(WEXITSTATUS(status), 0);
#endif
}
