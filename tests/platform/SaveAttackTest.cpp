// Another user at work while a file is saved: snooping on and taking over the temporary file,
// planting links, swapping a link or a folder in mid-save. The other user is a second process that
// runs as a uid of its own.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <vector>
#include "platform/FileReplacement.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace {

namespace fs = std::filesystem;

/// A user who needs no entry in the user list, other than root, nobody and the table's users.
constexpr uid_t kIntruder = 65533;
constexpr int kSaves = 100;

/// What the intruder found, in memory that it shares with the test.
struct Findings {
    std::atomic<int> Rounds{0};
    /// Files it opened that hold the saver's words.
    std::atomic<int> Read{0};
    std::atomic<bool> Stop{false};
};

/// A second process running as the intruder, at work until the object goes.
class Intruder {
public:
    explicit Intruder(const std::function<void(Findings&)>& round)
    {
        void* shared = ::mmap(nullptr, sizeof(Findings), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        fFindings = new (shared) Findings;
        fPid = ::fork();
        if (fPid == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kIntruder) != 0 || ::setuid(kIntruder) != 0) ::_exit(2);
            while (!fFindings->Stop) {
                round(*fFindings);
                ++fFindings->Rounds;
            }
            ::_exit(0);
        }
        // The intruder is at work before the saves start.
        while (fPid > 0 && fFindings->Rounds == 0) ::usleep(100);
    }
    ~Intruder()
    {
        fFindings->Stop = true;
        if (fPid > 0) ::waitpid(fPid, nullptr, 0);
        ::munmap(fFindings, sizeof(Findings));
    }
    const Findings& Found() const { return *fFindings; }

private:
    Findings* fFindings;
    pid_t fPid;
};

/// Opens every file in folder it can, for reading and for writing, and keeps it open for a while:
/// rights count only when a file is opened. Counts the files so held that come to hold words.
void Snoop(const std::string& folder, const std::string& words, Findings& found)
{
    static std::vector<int> held;
    DIR* dir = ::opendir(folder.c_str());
    while (const dirent* entry = dir ? ::readdir(dir) : nullptr) {
        const std::string path = folder + "/" + entry->d_name;
        for (const int access : {O_RDONLY, O_RDWR}) {
            const int fd = ::open(path.c_str(), access | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
            if (fd >= 0) held.push_back(fd);
        }
    }
    if (dir) ::closedir(dir);
    for (const int fd : held) {
        char bytes[256];
        const ssize_t n = ::pread(fd, bytes, sizeof bytes, 0);
        if (n > 0 && std::string(bytes, std::size_t(n)).find(words) != std::string::npos) ++found.Read;
    }
    // The oldest go, so that the intruder does not run out of descriptors.
    while (held.size() > 64) {
        ::close(held.front());
        held.erase(held.begin());
    }
}

/// Long enough that a save takes a moment to write it.
std::string Contents(int save)
{
    return "private words, save " + std::to_string(save) + "\n" + std::string(64 * 1024, 'p');
}

TEST(SaveAttack, NoOneElseReadsOrTakesOverAPrivateFileWhileItIsSaved)
{
    if (::geteuid() != 0) GTEST_SKIP() << "another user is made by root";
    // Root's private notes in a sticky folder that anyone may write; a user's private settings in
    // their own folder that others may read.
    for (const bool unprivileged : {false, true}) {
        SCOPED_TRACE(unprivileged ? "saved by nobody" : "saved by root");
        TempFolder folder;
        const std::string file = folder.Path("notes");
        const passwd* nobody = ::getpwnam("nobody");
        ASSERT_TRUE(nobody);
        PutFile(file, Contents(-1), fs::perms(0600));
        if (unprivileged) {
            ASSERT_EQ(::chown(folder.Path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
            ASSERT_EQ(::chown(file.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
            ::chmod(folder.Path().c_str(), 0755);
        } else {
            ::chmod(folder.Path().c_str(), 01777);
            // Planted where a temporary file used to go, and held open for writing.
            PutFile(folder.Path(".notes.tmp"), "", fs::perms(0666));
            ASSERT_EQ(::chown(folder.Path(".notes.tmp").c_str(), kIntruder, kIntruder), 0);
        }
        {
            Intruder intruder([&](Findings& found) { Snoop(folder.Path(), "private words", found); });
            RunInChild(unprivileged, [&] {
                for (int save = 0; save < kSaves; ++save) ASSERT_EQ(SaveFileSafely(FromUtf8(file), Contents(save)), u"");
            });
            EXPECT_EQ(intruder.Found().Read, 0) << "in " << intruder.Found().Rounds << " rounds";
        }
        EXPECT_EQ(StateOf(file), (FileState{Contents(kSaves - 1), fs::perms(0600)}));
        if (!unprivileged) {
            struct stat planted;
            ASSERT_EQ(::stat(folder.Path(".notes.tmp").c_str(), &planted), 0) << "the planted file stays";
            EXPECT_EQ(planted.st_uid, kIntruder);
            EXPECT_EQ(planted.st_size, 0) << "and no save wrote into it";
        }
    }
}

TEST(SaveAttack, ALinkThatAnotherUserPlantsInAStickyFolderIsNotFollowed)
{
    if (::geteuid() != 0) GTEST_SKIP() << "another user is made by root";
    for (const bool unprivileged : {false, true}) {
        SCOPED_TRACE(unprivileged ? "saved by nobody" : "saved by root");
        TempFolder folder;
        const passwd* nobody = ::getpwnam("nobody");
        ASSERT_TRUE(nobody);
        ::chmod(folder.Path().c_str(), 0755);
        fs::create_directory(folder.Path("public"));
        fs::create_directory(folder.Path("cron"));
        ::chmod(folder.Path("public").c_str(), 01777);
        const FileState victim = PutFile(folder.Path("victim"), "the saver's own", fs::perms(0600));
        if (unprivileged) {
            ASSERT_EQ(::chown(folder.Path("victim").c_str(), nobody->pw_uid, nobody->pw_gid), 0);
            ASSERT_EQ(::chown(folder.Path("cron").c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        }
        RunInChild(true, [&] {
            ASSERT_EQ(::symlink("../victim", folder.Path("public/report.fs").c_str()), 0);
            ASSERT_EQ(::symlink("../cron/job", folder.Path("public/job.fs").c_str()), 0);
        }, kIntruder, kIntruder);
        RunInChild(unprivileged, [&] {
            for (const char* name : {"report.fs", "job.fs"}) {
                const UnicodeString link = FromUtf8(folder.Path("public/") + name);
                const UnicodeString refusal =
                    u"Cannot follow the link \"" + link + u"\": another user made it in a folder that anyone may write";
                EXPECT_EQ(BeginSave(link), refusal);
                EXPECT_EQ(SaveFileSafely(link, "planted"), refusal);
            }
        });
        EXPECT_EQ(StateOf(folder.Path("victim")), victim);
        EXPECT_FALSE(fs::exists(folder.Path("cron/job")));
    }
}

TEST(SaveAttack, ALinkSwappedInMidSaveDoesNotRedirectIt)
{
    if (::geteuid() != 0) GTEST_SKIP() << "another user is made by root";
    // The intruder's own file in a sticky folder, which root saves, swapped over and over with a
    // link to a file of root's.
    TempFolder folder;
    ::chmod(folder.Path().c_str(), 0755);
    fs::create_directory(folder.Path("public"));
    ::chmod(folder.Path("public").c_str(), 01777);
    const FileState victim = PutFile(folder.Path("victim"), "root's own", fs::perms(0644));
    const std::string shared = folder.Path("public/shared.txt"), other = folder.Path("public/other");
    RunInChild(true, [&] {
        PutFile(shared, "the intruder's", fs::perms(0666));
        ASSERT_EQ(::symlink("../victim", other.c_str()), 0);
    }, kIntruder, kIntruder);
    {
        Intruder intruder([&](Findings&) {
            ::renameat2(AT_FDCWD, shared.c_str(), AT_FDCWD, other.c_str(), RENAME_EXCHANGE);
            ::usleep(50);
        });
        for (int save = 0; save < kSaves; ++save) SaveFileSafely(FromUtf8(shared), "root's save");
    }
    EXPECT_EQ(StateOf(folder.Path("victim")), victim);
}

TEST(SaveAttack, AFolderSwappedInMidSaveGetsNoSaveInTwoPlaces)
{
    if (::geteuid() != 0) GTEST_SKIP() << "another user is made by root";
    // Root saves a user's file in the user's folder; the user swaps the folder for a link to a
    // folder only root may enter.
    TempFolder folder;
    ::chmod(folder.Path().c_str(), 0755);
    const std::string home = folder.Path("home"), secret = folder.Path("secret");
    fs::create_directory(home);
    ASSERT_EQ(::chown(home.c_str(), kIntruder, kIntruder), 0);
    fs::create_directory(secret);
    ::chmod(secret.c_str(), 0700);
    PutFile(secret + "/f", "root's secret", fs::perms(0600));
    RunInChild(true, [&] {
        fs::create_directory(home + "/work");
        PutFile(home + "/work/f", "the user's", fs::perms(0644));
        ASSERT_EQ(::symlink(secret.c_str(), (home + "/swap").c_str()), 0);
    }, kIntruder, kIntruder);
    {
        Intruder intruder([&](Findings&) {
            ::renameat2(AT_FDCWD, (home + "/work").c_str(), AT_FDCWD, (home + "/swap").c_str(), RENAME_EXCHANGE);
            ::usleep(50);
        });
        for (int save = 0; save < kSaves; ++save) SaveFileSafely(FromUtf8(home + "/work/f"), "root's save");
    }
    // A save by name may land in either folder; each stays whole, with nothing else left in it.
    const std::string work = fs::is_symlink(home + "/work") ? home + "/swap" : home + "/work";
    for (const std::string& dir : {work, secret}) {
        SCOPED_TRACE(dir);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
        const std::string bytes = StateOf(dir + "/f").Bytes;
        EXPECT_TRUE(bytes == "root's save" || bytes == "the user's" || bytes == "root's secret") << bytes;
    }
}

}  // namespace
