// A save stopped at each of its system calls, by a failure, a kill or a power cut, through the
// writer's table of system calls: the file holds its whole old bytes or its whole new ones, and a
// write in place has its copy of the old bytes until the new ones are durable.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include "platform/FileReplacement.h"
#include "platform/SystemCalls.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

/// What the table does to the calls of one save.
struct Trouble {
    /// Calls so far.
    int Calls = 0;
    /// The call that fails, counted from 0; -1 for none.
    int At = -1;
    int Error = EIO;
    /// From call At on, no call does anything: the program was killed there.
    bool Killed = false;
    /// Every write writes at most half of what it is given.
    bool ShortWrites = false;
    /// A call got a descriptor of a standard stream.
    bool StandardStream = false;
};

Trouble gTrouble;

/// What survives a power cut: file bytes by inode as of their last fsync, and the names of the
/// folder as of its last fsync.
struct Durable {
    std::map<ino_t, std::string> Bytes;
    std::map<std::string, ino_t> Names;
    ino_t Folder = 0;
};

Durable gDurable;

std::string ReadThrough(const std::string& path)
{
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    char buffer[4096];
    for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, std::size_t(n));
    if (fd >= 0) ::close(fd);
    return bytes;
}

std::map<std::string, ino_t> NamesIn(const std::string& folder)
{
    std::map<std::string, ino_t> names;
    DIR* dir = ::opendir(folder.c_str());
    while (const dirent* entry = dir ? ::readdir(dir) : nullptr) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names[name] = entry->d_ino;
    }
    if (dir) ::closedir(dir);
    return names;
}

/// Whether the call goes ahead; else errno is set for its failure.
bool GoesAhead()
{
    const int call = gTrouble.Calls++;
    if (gTrouble.At < 0 || call < gTrouble.At || (call > gTrouble.At && !gTrouble.Killed)) return true;
    errno = gTrouble.Error;
    return false;
}

template <auto Member, typename Call>
struct Faulty;

template <auto Member, typename R, typename... A>
struct Faulty<Member, R (*)(A...)> {
    static R Call(A... arguments)
    {
        // The first argument of every call but the path ones is a descriptor of the writer's.
        if constexpr (sizeof...(A) > 0) {
            const int fd = int(std::get<0>(std::tuple<A...>(arguments...)));
            if (fd >= 0 && fd <= 2) gTrouble.StandardStream = true;
        }
        if (!GoesAhead()) return R(-1);
        return (RealSystemCalls().*Member)(arguments...);
    }
};

template <auto Member>
void Replace(TSystemCalls& calls)
{
    calls.*Member = Faulty<Member, std::remove_reference_t<decltype(calls.*Member)>>::Call;
}

ssize_t ShortWrite(int fd, const void* buffer, std::size_t size, off_t offset)
{
    if (fd >= 0 && fd <= 2) gTrouble.StandardStream = true;
    if (!GoesAhead()) return -1;
    if (gTrouble.ShortWrites && size > 1) size /= 2;
    return RealSystemCalls().PWrite(fd, buffer, size, offset);
}

int DurableSync(int fd)
{
    if (!GoesAhead()) return -1;
    const int synced = RealSystemCalls().FSync(fd);
    struct stat st;
    if (synced != 0 || ::fstat(fd, &st) != 0) return synced;
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    if (!S_ISDIR(st.st_mode)) {
        gDurable.Bytes[st.st_ino] = ReadThrough(path);
    } else if (st.st_ino == gDurable.Folder) {
        gDurable.Names = NamesIn(path);
    }
    return synced;
}

/// Puts the table in trouble for the life of the object.
class TroubledCalls {
public:
    TroubledCalls()
    {
        TSystemCalls& calls = SystemCalls();
        Replace<&TSystemCalls::OpenAt>(calls);
        Replace<&TSystemCalls::PRead>(calls);
        Replace<&TSystemCalls::FStat>(calls);
        Replace<&TSystemCalls::FChown>(calls);
        Replace<&TSystemCalls::FChmod>(calls);
        Replace<&TSystemCalls::FTruncate>(calls);
        Replace<&TSystemCalls::FAllocate>(calls);
        Replace<&TSystemCalls::Flock>(calls);
        Replace<&TSystemCalls::FListXattr>(calls);
        Replace<&TSystemCalls::FGetXattr>(calls);
        Replace<&TSystemCalls::FSetXattr>(calls);
        // Given a standard stream to move away from it.
        calls.DupFd = [](int fd, int lowest) { return GoesAhead() ? RealSystemCalls().DupFd(fd, lowest) : -1; };
        calls.PWrite = ShortWrite;
        calls.FSync = DurableSync;
        // Calls of paths, not descriptors, can fail as the others do.
        calls.FStatAt = [](int dir, const char* name, struct stat* st, int flags) {
            return GoesAhead() ? RealSystemCalls().FStatAt(dir, name, st, flags) : -1;
        };
        calls.ReadLinkAt = [](int dir, const char* name, char* buffer, std::size_t size) -> ssize_t {
            return GoesAhead() ? RealSystemCalls().ReadLinkAt(dir, name, buffer, size) : -1;
        };
        calls.FAccessAt = [](int dir, const char* name, int mode, int flags) {
            return GoesAhead() ? RealSystemCalls().FAccessAt(dir, name, mode, flags) : -1;
        };
        calls.RenameAt = [](int fromDir, const char* from, int toDir, const char* to) {
            return GoesAhead() ? RealSystemCalls().RenameAt(fromDir, from, toDir, to) : -1;
        };
        calls.UnlinkAt = [](int dir, const char* name, int flags) {
            return GoesAhead() ? RealSystemCalls().UnlinkAt(dir, name, flags) : -1;
        };
        calls.MkdirAt = [](int dir, const char* name, mode_t mode) {
            return GoesAhead() ? RealSystemCalls().MkdirAt(dir, name, mode) : -1;
        };
        // A killed program's descriptors close, whatever it did last.
        calls.Close = RealSystemCalls().Close;
    }
    ~TroubledCalls() { SystemCalls() = RealSystemCalls(); }
};

/// A save whose old file is replaced, written in place (it has a second name), or made new.
enum class Way { Replaced, InPlace, New };

struct CrashScene {
    Way How;
    TempFolder Folder;
    /// Longer than the new, unless growing: a write in place that stops before its cut leaves old
    /// bytes at the end; one that fails after it must cut the old bytes it puts back.
    std::string Old;
    std::string New = std::string(5000, 'n');

    explicit CrashScene(Way how, bool growing = false) : How(how), Old(growing ? 3000 : 6000, 'o')
    {
        if (How != Way::New) Folder.Write("f", Old);
        if (How == Way::InPlace) fs::create_hard_link(Folder.Path("f"), Folder.Path("second"));
        gTrouble = {};
        gDurable = {};
        struct stat st;
        ::stat(Folder.Path().c_str(), &st);
        gDurable.Folder = st.st_ino;
        gDurable.Names = NamesIn(Folder.Path());
        for (const auto& [name, ino] : gDurable.Names) gDurable.Bytes[ino] = Folder.Read(name);
    }

    UnicodeString Save() const { return SaveFileSafely(Folder.Name("f"), New); }

    /// The folder as it stands after a kill: names, and bytes by inode.
    Durable Now() const
    {
        Durable now;
        now.Names = NamesIn(Folder.Path());
        for (const auto& [name, ino] : now.Names) now.Bytes[ino] = Folder.Read(name);
        return now;
    }

    /// The folder as a power cut after now may leave it: the folder's names as of its last fsync
    /// or as they stand (choice bit 0), each file with the bytes of its own last fsync (none for a
    /// file never synced) or all it was given (bit 1 + its place in now and the names).
    void PowerCut(const Durable& now, unsigned choice) const
    {
        for (const auto& entry : fs::directory_iterator(Folder.Path())) fs::remove(entry.path());
        const std::map<std::string, ino_t>& names = (choice & 1) ? now.Names : gDurable.Names;
        std::map<ino_t, std::string> made;
        unsigned bit = 2;
        for (const auto& [name, ino] : names) {
            if (made.count(ino)) {
                fs::create_hard_link(made[ino], Folder.Path(name));
                continue;
            }
            const bool flushed = (choice & bit) && now.Bytes.count(ino);
            bit <<= 1;
            Folder.Write(name, flushed ? now.Bytes.at(ino) : gDurable.Bytes.count(ino) ? gDurable.Bytes.at(ino) : "");
            made[ino] = Folder.Path(name);
        }
    }

    /// The names beside "f" (and "second"), with their bytes.
    std::map<std::string, std::string> Others() const
    {
        std::map<std::string, std::string> others;
        for (const auto& entry : fs::directory_iterator(Folder.Path())) {
            const std::string name = entry.path().filename();
            if (name != "f" && name != "second") others[name] = Folder.Read(name);
        }
        return others;
    }

    /// The file holds whole old or whole new bytes, or, written in place, a copy holds the old.
    void ExpectWhole(const std::string& when) const
    {
        SCOPED_TRACE(when);
        const bool exists = fs::exists(Folder.Path("f"));
        const std::string bytes = exists ? Folder.Read("f") : std::string();
        const bool whole = How == Way::New ? !exists || bytes == New : bytes == Old || bytes == New;
        bool copied = false;
        for (const auto& [name, copy] : Others()) copied = copied || copy == Old;
        EXPECT_TRUE(whole || (How == Way::InPlace && copied)) << bytes.size() << " bytes, no copy of the old";
        if (How == Way::InPlace && exists) {
            EXPECT_EQ(Folder.Read("second"), bytes) << "the second name is the same file";
        }
    }
};

const char* NameOf(Way how)
{
    return how == Way::Replaced ? "replaced" : how == Way::InPlace ? "in place" : "new";
}

/// Calls of a whole save, with none failing; with short writes, a write stops midway too.
int CallsOfASave(Way how, bool shortWrites)
{
    CrashScene scene(how);
    TroubledCalls calls;
    gTrouble.ShortWrites = shortWrites;
    EXPECT_EQ(scene.Save(), u"");
    return gTrouble.Calls;
}

TEST(SaveCrash, EveryCrashPointWithAndWithoutAPowerCutLeavesWholeBytes)
{
    if (::geteuid() != 0) GTEST_SKIP() << "the power cut reads files through /proc as root";
    for (const Way how : {Way::Replaced, Way::InPlace, Way::New}) {
        const int calls = CallsOfASave(how, true);
        ASSERT_GT(calls, 5);
        for (int at = 0; at <= calls; ++at) {
            SCOPED_TRACE(std::string(NameOf(how)) + ", killed at call " + std::to_string(at));
            CrashScene scene(how);
            UnicodeString message;
            {
                TroubledCalls troubled;
                gTrouble.At = at;
                gTrouble.Killed = true;
                gTrouble.ShortWrites = true;
                message = scene.Save();
            }
            if (at == calls) {
                EXPECT_EQ(message, u"");
            }
            scene.ExpectWhole("killed");
            // Every choice of what the disk had got when the power went.
            const Durable now = scene.Now();
            for (unsigned choice = 0; choice < 64; ++choice) {
                scene.PowerCut(now, choice);
                scene.ExpectWhole("and then the power went, choice " + std::to_string(choice));
                if (at == calls) {
                    EXPECT_EQ(scene.Folder.Read("f"), scene.New) << "a save that went through is durable";
                    EXPECT_TRUE(scene.Others().empty()) << "no copy nor temporary file outlives a save";
                }
            }
        }
    }
}

TEST(SaveCrash, AFailureOfAnyCallLeavesWholeBytesAndNothingBeside)
{
    for (const Way how : {Way::Replaced, Way::InPlace, Way::New}) {
        const int calls = CallsOfASave(how, false);
        for (const int error : {EIO, ENOSPC, EINTR}) {
            for (int at = 0; at < 2 * calls; ++at) {
                const bool growing = at >= calls;
                SCOPED_TRACE(std::string(NameOf(how)) + (growing ? ", growing" : "") + ", call " +
                             std::to_string(at % calls) + " fails with errno " + std::to_string(error));
                CrashScene scene(how, growing);
                UnicodeString message;
                {
                    TroubledCalls troubled;
                    gTrouble.At = at % calls;
                    gTrouble.Error = error;
                    message = scene.Save();
                }
                const bool exists = fs::exists(scene.Folder.Path("f"));
                const std::string bytes = exists ? scene.Folder.Read("f") : std::string();
                if (message.empty()) {
                    EXPECT_EQ(bytes, scene.New);
                } else {
                    EXPECT_TRUE(bytes == scene.New || (how == Way::New ? !exists : bytes == scene.Old))
                        << ToUtf8(message);
                }
                // A copy of the old bytes stays where they were written over, and the message names it;
                // one may stay where its removal failed. Nothing else may.
                for (const auto& [name, left] : scene.Others()) {
                    EXPECT_EQ(left, scene.Old) << name << " is left";
                    if (!message.empty()) {
                        EXPECT_NE(message.find(scene.Folder.Name(name)), UnicodeString::npos) << ToUtf8(message);
                    }
                }
                const std::size_t kept = message.find(u"kept in \"");
                if (kept != UnicodeString::npos) {
                    const UnicodeString copy = message.substr(kept + 9, message.size() - kept - 10);
                    EXPECT_EQ(ReadThrough(ToUtf8(copy)), scene.Old) << ToUtf8(copy);
                }
            }
        }
    }
}

TEST(SaveCrash, ShortWritesAndClosedStandardStreamsChangeNothing)
{
    for (const Way how : {Way::Replaced, Way::InPlace, Way::New}) {
        SCOPED_TRACE(NameOf(how));
        CrashScene scene(how);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // With no standard streams open, the writer's first descriptors would be 0, 1 and 2.
            for (int fd = 0; fd <= 2; ++fd) ::close(fd);
            TroubledCalls troubled;
            gTrouble.ShortWrites = true;
            const bool saved = scene.Save().empty();
            ::_exit(saved && !gTrouble.StandardStream ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "saved, and no descriptor on 0, 1 or 2";
        EXPECT_EQ(scene.Folder.Read("f"), scene.New);
        EXPECT_TRUE(scene.Others().empty());
    }
}

}  // namespace
