#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include "platform/FileNames.h"
#include "platform/FileReplacement.h"
#include "platform/Folders.h"
#include "platform/SystemCalls.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace {

namespace fs = std::filesystem;

constexpr int kNoMounts = 77;

/// Runs body in a forked child that has a mount namespace of its own with a tmpfs of size bytes at
/// folder, which goes with the child; false when this machine allows no such mount.
bool RunOnSmallDisk(const std::string& folder, std::size_t size, const std::function<void()>& body)
{
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        const std::string options = "size=" + std::to_string(size);
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
            ::_exit(kNoMounts);
        const int before = FailuresSoFar();
        body();
        ::_exit(FailuresSoFar() > before ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kNoMounts) return false;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "see the child's failures above";
    return true;
}

/// From here on the process's fallocate fails as on a file system that cannot reserve room.
void RefuseFallocate()
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fallocate, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EOPNOTSUPP & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{sizeof filter / sizeof filter[0], filter};
    ASSERT_EQ(::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0), 0);
    ASSERT_EQ(::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program), 0);
}

/// Fills the file system of folder up to the last byte.
void FillUp(const std::string& folder)
{
    const int fd = ::open((folder + "/filler").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    const std::string block(4096, 'z');
    while (::write(fd, block.data(), block.size()) > 0) {}
    while (::write(fd, "z", 1) > 0) {}
    ::close(fd);
}

std::string ReadPath(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// A save on a full disk, of a file that is written in place (it has a second name) or replaced.
struct RoomCase {
    const char* Name;
    bool InPlace;
    /// The old file is all holes: writing over it needs room that it never took.
    bool Sparse;
    bool FallocateRefused;
    /// The state folder, where a copy of the old bytes goes that has no room beside the file, is
    /// on the full disk too.
    bool NoRoomForACopy;
};

TEST(FileReplacement, AFullDiskLeavesTheOldBytesWhole)
{
    const std::string big(20 * 1024, 'n');
    const RoomCase cases[] = {
        {"in place", true, false, false, false},
        {"in place, no fallocate", true, false, true, false},
        {"in place over holes", true, true, false, false},
        {"in place over holes, no fallocate", true, true, true, false},
        {"in place, no room for a copy", true, false, false, true},
        {"replaced", false, false, false, false},
        {"replaced, no fallocate", false, false, true, false},
    };
    for (const RoomCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TempFolder folder, state;
        const std::string disk = folder.Path("disk");
        fs::create_directory(disk);
        const bool mounted = RunOnSmallDisk(disk, 64 * 1024, [&] {
            ::setenv("XDG_STATE_HOME", (c.NoRoomForACopy ? disk + "/state" : state.Path()).c_str(), 1);
            const std::string file = disk + "/f";
            const std::string old = c.Sparse ? std::string(big.size(), '\0') : std::string(4096, 'o');
            if (c.Sparse) {
                const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
                ASSERT_EQ(::ftruncate(fd, off_t(old.size())), 0);
                ::close(fd);
            } else {
                folder.Write("disk/f", old);
            }
            if (c.InPlace) fs::create_hard_link(file, disk + "/second");
            FillUp(disk);
            if (c.FallocateRefused) RefuseFallocate();

            const UnicodeString message = SaveFileSafely(FromUtf8(file), big);
            const UnicodeString what = c.NoRoomForACopy ? u"Cannot make a copy of the old bytes of \"" : u"Cannot write \"";
            const UnicodeString reason = what + FromUtf8(file) + u"\": No space left on device";
            EXPECT_EQ(message.substr(0, reason.size()), reason);
            // Once old bytes were written over, their copy stays, named, though they were put back.
            const UnicodeString kept = u". Its old bytes are kept in \"";
            if (message.size() > reason.size()) {
                ASSERT_EQ(message.substr(reason.size(), kept.size()), kept);
                const std::string copy = ToUtf8(message.substr(reason.size() + kept.size()));
                EXPECT_EQ(ReadPath(copy.substr(0, copy.size() - 1)), old);
                fs::remove(copy.substr(0, copy.size() - 1));
            }
            EXPECT_EQ(folder.Read("disk/f"), old);
            EXPECT_EQ(fs::hard_link_count(file), c.InPlace ? 2u : 1u);
            const std::set<std::string> names{"f", "filler", "second"};
            for (const auto& entry : fs::directory_iterator(disk)) {
                if (entry.path().filename() != "state") {
                    EXPECT_TRUE(names.count(entry.path().filename())) << entry.path() << " is left";
                }
            }
            if (fs::exists(state.Path("Brennix"))) {
                EXPECT_TRUE(fs::is_empty(state.Path("Brennix"))) << "the copy of the old bytes is gone";
            }
        });
        if (!mounted) GTEST_SKIP() << "this machine allows no tmpfs mount";
    }
}

TEST(FileReplacement, AFileThatCannotBeReplacedIsWrittenInPlace)
{
    // A file mounted where it stands, as a container's /etc/hosts is: its rename is refused.
    TempFolder folder;
    const std::string disk = folder.Path("disk");
    fs::create_directory(disk);
    const bool mounted = RunOnSmallDisk(disk, 64 * 1024, [&] {
        folder.Write("disk/f", "old");
        folder.Write("disk/mounted", "the mounted file");
        ASSERT_EQ(::mount((disk + "/mounted").c_str(), (disk + "/f").c_str(), nullptr, MS_BIND, nullptr), 0);
        EXPECT_EQ(SaveFileSafely(FromUtf8(disk + "/f"), "new"), u"");
        EXPECT_EQ(folder.Read("disk/f"), "new");
        EXPECT_EQ(::umount(folder.Path("disk/f").c_str()), 0);
        EXPECT_EQ(folder.Read("disk/mounted"), "new");
        EXPECT_EQ(folder.Read("disk/f"), "old");
        EXPECT_EQ(std::distance(fs::directory_iterator(disk), fs::directory_iterator()), 2) << "nothing is left";
    });
    if (!mounted) GTEST_SKIP() << "this machine allows no mount";
}

TEST(FileReplacement, AFileOfExactlyTheSizeLimitIsSaved)
{
    const std::string bytes(5000, 's');
    for (const bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "written in place" : "replaced");
        TempFolder folder;
        folder.Write("f", "old");
        if (inPlace) fs::create_hard_link(folder.Path("f"), folder.Path("second"));
        RunInChild(false, [&] {
            const rlimit limit{bytes.size(), bytes.size()};
            ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
            EXPECT_EQ(SaveFileSafely(folder.Name("f"), bytes), u"");
            EXPECT_EQ(SaveFileSafely(folder.Name("new"), bytes), u"");
        });
        EXPECT_EQ(folder.Read("f"), bytes);
        EXPECT_EQ(folder.Read("new"), bytes);
    }
}

/// Saves "f" in folder with the table's calls changed by fault, and expects the very file written
/// over, with nothing left beside it.
void ExpectSavedInPlace(const TempFolder& folder, const std::function<void(TSystemCalls&)>& fault)
{
    struct stat old;
    ASSERT_EQ(::stat(folder.Path("f").c_str(), &old), 0);
    fault(SystemCalls());
    const UnicodeString message = SaveFileSafely(folder.Name("f"), "new contents");
    SystemCalls() = RealSystemCalls();
    EXPECT_EQ(message, u"");
    EXPECT_EQ(folder.Read("f"), "new contents");
    struct stat now;
    ASSERT_EQ(::stat(folder.Path("f").c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, old.st_ino) << "the very file was written";
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

/// How the table's rename is refused.
int gRenameError = 0;

TEST(FileReplacement, AFileWhoseRenameIsRefusedIsWrittenInPlace)
{
    // As for root without CAP_FOWNER in a sticky folder, or a file mounted where it stands.
    for (const int error : {EPERM, EACCES, EBUSY}) {
        SCOPED_TRACE(error);
        TempFolder folder;
        folder.Write("f", "old");
        gRenameError = error;
        ExpectSavedInPlace(folder, [](TSystemCalls& calls) {
            calls.RenameAt = [](int, const char*, int, const char*) {
                errno = gRenameError;
                return -1;
            };
        });
    }
}

TEST(FileReplacement, AFileWhoseAttributesTheNewFileCannotTakeIsWrittenInPlace)
{
    TempFolder folder;
    folder.Write("f", "old");
    ASSERT_EQ(::setxattr(folder.Path("f").c_str(), "user.origin", "tavlo", 5, 0), 0);
    ExpectSavedInPlace(folder, [](TSystemCalls& calls) {
        // As an attribute that only a privileged user may set.
        calls.FSetXattr = [](int, const char*, const void*, std::size_t, int) {
            errno = EPERM;
            return -1;
        };
    });
    char value[16] = {};
    EXPECT_EQ(::getxattr(folder.Path("f").c_str(), "user.origin", value, sizeof value), 5);
}

TEST(FileReplacement, ASaveWaitsAMomentForAnotherProgramThatIsWritingTheFile)
{
    TempFolder folder;
    folder.Write("f", "old");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(folder.Path("f").c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::flock(fd, LOCK_EX) != 0) ::_exit(1);
        (void)!::write(ready[1], "r", 1);
        ::usleep(300 * 1000);
        ::_exit(0);
    }
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(SaveFileSafely(folder.Name("f"), "new"), u"");
    EXPECT_EQ(folder.Read("f"), "new");
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(FileReplacement, ASaveOnAReadOnlyDiskIsRefusedBeforeItStarts)
{
    TempFolder folder;
    const std::string disk = folder.Path("disk");
    fs::create_directory(disk);
    const bool mounted = RunOnSmallDisk(disk, 64 * 1024, [&] {
        folder.Write("disk/old", "old");
        ASSERT_EQ(::mount(nullptr, disk.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
        EXPECT_EQ(BeginSave(FromUtf8(disk + "/new")),
                  u"Cannot create \"" + FromUtf8(disk + "/new") + u"\": Read-only file system");
        EXPECT_EQ(BeginSave(FromUtf8(disk + "/old")),
                  u"Cannot write \"" + FromUtf8(disk + "/old") + u"\": Read-only file system");
    });
    if (!mounted) GTEST_SKIP() << "this machine allows no mount";
}

TEST(FileReplacement, APathThatRunsThroughAFileIsRefusedNamingTheLink)
{
    TempFolder folder;
    folder.Write("file", "not a folder");
    fs::create_symlink("file/x", folder.Path("link"));
    fs::create_symlink("link", folder.Path("chain"));
    EXPECT_EQ(BeginSave(folder.Name("chain")),
              u"Cannot follow the link \"" + folder.Name("chain") + u"\": Not a directory");
    EXPECT_EQ(SaveFileSafely(folder.Name("chain"), "new"),
              u"Cannot follow the link \"" + folder.Name("chain") + u"\": Not a directory");
    EXPECT_EQ(BeginSave(folder.Name("file/x")), u"Cannot write \"" + folder.Name("file/x") + u"\": Not a directory");
    EXPECT_EQ(folder.Read("file"), "not a folder");
}

TEST(FileNames, BytesThatAreNotUtf8NameTheirOwnFile)
{
    const std::string names[] = {"caf\xE9.fs", "\xFF\xFE", "caf\xC3\xA9.fs", "\xF0\x9F\x98\x80", "\xED\xA0\x80",
                                 "\xC0\xAF", "end\xE2\x82", "\xE9\xC3\xA9\xE9", "plain"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const UnicodeString text = FileNameFromBytes(name);
        EXPECT_EQ(FileNameBytes(text), name);
        // UTF-8 reads as it always did; only stray bytes become U+DC80..U+DCFF.
        if (ToUtf8(FromUtf8(name)) == name) {
            EXPECT_EQ(text, FromUtf8(name));
        }
    }
    EXPECT_EQ(FileNameFromBytes("caf\xE9"), u"caf\xDCE9");
    // What a toolkit that drops the byte makes of the name names another file.
    EXPECT_EQ(FileNameBytes(u"caf\uFFFD"), "caf\xEF\xBF\xBD");
}

TEST(FileNames, AFileWhoseNameIsNotUtf8IsOpenedAndSavedByItsOwnName)
{
    TempFolder folder;
    folder.Write("caf\xE9.fs", "old");
    const UnicodeString name = FileNameFromBytes(folder.Path("caf\xE9.fs"));
    EXPECT_TRUE(FileExists(name));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(name, bytes));
    EXPECT_EQ(bytes, "old");
    EXPECT_EQ(BeginSave(name), u"");
    EXPECT_EQ(SaveFileSafely(name, "new"), u"");
    EXPECT_EQ(folder.Read("caf\xE9.fs"), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1) << "no second file";
    EXPECT_EQ(ExtractFileName(name), u"caf\xDCE9.fs");
}

}  // namespace
