#pragma once
// What a save must keep of a file, as one table for every saver (the shared writer, and the savers
// that add steps of their own): its bytes, its other names, its links, what kind of file it is,
// owner, group and mode with its set-ID bits, ACL and extended attributes, and the old bytes when
// there is no room for the new; and what it must refuse: links planted by another user, anything
// that is not a regular file, a file another program is writing. Each case is saved by root and,
// where it applies, by "nobody", in a forked child; the folder is compared name by name before and
// after.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <fcntl.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <algorithm>
#include <cstring>
#include <map>
#include <ostream>
#include <string>
#include <vector>
#include "platform/Text.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace savecases {

namespace fs = std::filesystem;

constexpr const char* kAclName = "system.posix_acl_access";

/// One name in a folder as a save may change it.
struct FileFacts {
    /// A regular file's bytes.
    std::string Bytes;
    /// What a symbolic link says; empty for anything else.
    std::string LinkTarget;
    nlink_t Links = 0;
    uid_t Owner = 0;
    gid_t Group = 0;
    /// Permission bits with the set-ID and sticky bits.
    unsigned Mode = 0;
    /// S_IFREG, S_IFIFO, ...
    unsigned Type = S_IFREG;
    /// The access ACL as the system stores it; empty for none.
    std::string Acl;
    /// The other extended attributes, by name.
    std::map<std::string, std::string> Attributes;
    bool operator==(const FileFacts&) const = default;
};

inline void PrintTo(const FileFacts& f, std::ostream* out)
{
    *out << (f.LinkTarget.empty() ? "" : "-> " + f.LinkTarget + " ") << f.Bytes.size() << " bytes "
         << ::testing::PrintToString(f.Bytes.substr(0, 24)) << " links " << f.Links << " owner " << f.Owner << ':'
         << f.Group << " type " << std::oct << f.Type << " mode " << f.Mode << std::dec << " ACL "
         << f.Acl.size() << " bytes";
    for (const auto& [name, value] : f.Attributes) *out << ' ' << name << '=' << value;
}

/// The extended attributes of path itself (not what a link leads to).
inline void AddAttributes(FileFacts& facts, const std::string& path)
{
    char names[4096];
    const ssize_t n = ::llistxattr(path.c_str(), names, sizeof names);
    for (ssize_t at = 0; at < n; at += ssize_t(std::strlen(names + at)) + 1) {
        char value[4096];
        const ssize_t size = ::lgetxattr(path.c_str(), names + at, value, sizeof value);
        const std::string bytes(value, std::size_t(std::max<ssize_t>(size, 0)));
        if (std::string(names + at) == kAclName) {
            facts.Acl = bytes;
        } else {
            facts.Attributes[names + at] = bytes;
        }
    }
}

/// Every name below a folder (relative path) with its facts; a link is not followed.
using Scene = std::map<std::string, FileFacts>;

/// Adds the names below folder to scene, as paths relative to top.
inline void AddNames(Scene& scene, const fs::path& top, const fs::path& folder)
{
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        struct stat st;
        if (::lstat(entry.path().c_str(), &st) != 0) continue;
        FileFacts facts{{}, {}, st.st_nlink, st.st_uid, st.st_gid, unsigned(st.st_mode & 07777),
                        unsigned(st.st_mode & S_IFMT)};
        AddAttributes(facts, entry.path().string());
        if (S_ISLNK(st.st_mode)) facts.LinkTarget = fs::read_symlink(entry.path()).string();
        if (S_ISREG(st.st_mode)) {
            std::ifstream in(entry.path(), std::ios::binary);
            facts.Bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        scene[entry.path().lexically_relative(top).string()] = facts;
        if (S_ISDIR(st.st_mode)) AddNames(scene, top, entry.path());
    }
}

inline Scene SceneOf(const fs::path& dir)
{
    Scene scene;
    AddNames(scene, dir, dir);
    return scene;
}

/// Who saves: root, or an unprivileged user.
struct Saver {
    uid_t Uid;
    gid_t Gid;
    bool Unprivileged;
};

/// What a save said and whether its document still counts as changed afterwards.
struct SaveOutcome {
    UnicodeString Message;
    bool Modified = false;
};

/// A way the program saves a file.
struct SaverKind {
    const char* Name;
    /// The name it saves under, in each case's folder.
    std::string FileName;
    /// What it writes beside the file (suffixes of its name); not looked at here.
    std::vector<std::string> Companions;
    /// Whether it saves a document that stays changed after a failure.
    bool Document;
    /// Saves its contents (always the same) under the name; runs in the child.
    std::function<SaveOutcome(const UnicodeString& fileName)> Save;
};

/// Another user than root and nobody, who needs no entry in the user list.
constexpr uid_t kOtherUser = 4242;
constexpr gid_t kOtherGroup = 4243;
/// A file-size limit below the size of every saver's contents.
constexpr rlim_t kSizeLimit = 4096;
const std::string kOld = "the old bytes of the file\n";

/// A file put in place by root, owned by uid:gid.
inline void Put(const fs::path& path, const std::string& bytes, unsigned mode, uid_t uid, gid_t gid)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    ::chmod(path.c_str(), mode);
    EXPECT_EQ(::chown(path.c_str(), uid, gid), 0);
}

inline unsigned NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

struct SaveCase {
    const char* Name;
    bool ByRoot;
    bool ByNobody;
    /// Makes the scene in dir for a save of name by saver, whose companion files have the given
    /// suffixes; returns the path to save, relative to dir.
    std::function<std::string(const fs::path& dir, const std::string& name, const Saver& saver,
                              const std::vector<std::string>& companions)>
        Arrange;
    /// Turns the scene before into the one expected after the save of path with bytes.
    std::function<void(Scene& scene, const std::string& path, const std::string& bytes, const Saver& saver)> Expect;
    /// The writer's message, for the name saved; empty when the save succeeds.
    std::function<UnicodeString(const UnicodeString& fileName)> Message;
    /// A file-size limit for the save, or none.
    bool SizeLimited = false;
    /// Another program holds the file locked throughout the save.
    bool Locked = false;
};

inline void Saved(Scene& scene, const std::string& path, const std::string& bytes)
{
    scene.at(path).Bytes = bytes;
}

using Arranger = decltype(SaveCase::Arrange);
using Expecter = decltype(SaveCase::Expect);

/// The saver's own file, with a second name (a hard link) or not.
inline Arranger OwnFile(bool secondName)
{
    return [secondName](const fs::path& dir, const std::string& name, const Saver& s, const std::vector<std::string>&) {
        Put(dir / name, kOld, 0644, s.Uid, s.Gid);
        if (secondName) fs::create_hard_link(dir / name, dir / "second");
        return name;
    };
}

/// Another user's file of mode, in folder (made with folderMode) or in the case's own folder.
inline Arranger AnotherUsersFile(unsigned mode, const std::string& folder = "", unsigned folderMode = 0)
{
    return [=](const fs::path& dir, const std::string& name, const Saver&, const std::vector<std::string>&) {
        if (!folder.empty()) {
            fs::create_directory(dir / folder);
            ::chmod((dir / folder).c_str(), folderMode);
        }
        const std::string path = folder.empty() ? name : folder + "/" + name;
        Put(dir / path, kOld, mode, kOtherUser, kOtherGroup);
        return path;
    };
}

/// The access ACL "user::rw- user:<user>:rw- group::--- mask::rw- other::---" as the system stores it.
inline std::string AclGiving(uid_t user)
{
    std::string acl;
    const auto put = [&acl](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) acl += char(value >> (8 * i));
    };
    const auto entry = [&put](std::uint16_t tag, std::uint16_t perm, std::uint32_t id) {
        put(tag, 2);
        put(perm, 2);
        put(id, 4);
    };
    put(2, 4);
    entry(0x01, 6, ~0u);
    entry(0x02, 6, user);
    entry(0x04, 0, ~0u);
    entry(0x10, 6, ~0u);
    entry(0x20, 0, ~0u);
    return acl;
}

/// Whose file a case saves.
enum class Owner { Saver, OtherUser, OtherGroup };

/// The saver's file, another user's, or the saver's of another group, of mode, set-ID bits
/// included, with an ACL that lets a third user in and extended attributes, each where asked for.
inline Arranger FileWith(unsigned mode, Owner owner, bool acl, bool attributes)
{
    return [=](const fs::path& dir, const std::string& name, const Saver& s, const std::vector<std::string>&) {
        const fs::path path = dir / name;
        Put(path, kOld, mode, owner == Owner::OtherUser ? kOtherUser : s.Uid,
            owner == Owner::Saver ? s.Gid : kOtherGroup);
        // After the owner, which drops set-ID bits.
        ::chmod(path.c_str(), mode);
        if (acl) {
            const std::string value = AclGiving(kOtherUser + 7);
            EXPECT_EQ(::setxattr(path.c_str(), kAclName, value.data(), value.size(), 0), 0);
        }
        if (attributes) {
            EXPECT_EQ(::setxattr(path.c_str(), "user.origin", "tavlo", 5, 0), 0);
            EXPECT_EQ(::setxattr(path.c_str(), "user.checked", "", 0, 0), 0);
        }
        return name;
    };
}

/// Something that is not a regular file at the name: type S_IFIFO, S_IFCHR, S_IFSOCK or S_IFDIR.
inline Arranger NotARegularFile(unsigned type)
{
    return [type](const fs::path& dir, const std::string& name, const Saver& s, const std::vector<std::string>&) {
        const fs::path path = dir / name;
        if (type == S_IFIFO) EXPECT_EQ(::mkfifo(path.c_str(), 0666), 0);
        if (type == S_IFCHR) EXPECT_EQ(::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        if (type == S_IFDIR) fs::create_directory(path);
        if (type == S_IFSOCK) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
            EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
            ::close(fd);
        }
        ::chmod(path.c_str(), type == S_IFDIR ? 0777 : 0666);
        EXPECT_EQ(::chown(path.c_str(), s.Uid, s.Gid), 0);
        return name;
    };
}

inline std::function<UnicodeString(const UnicodeString&)> NotRegular(const char16_t* kind)
{
    return [kind](const UnicodeString& fileName) {
        return u"Cannot write \"" + fileName + u"\": it is " + kind + u", not a regular file";
    };
}

/// Who made a link in a sticky folder that anyone may write.
enum class LinkMaker { Saver, FolderOwner, Stranger };

/// A link to "real" (or to a missing file) in such a folder "pub", owned by folderOwner or by the
/// saver.
inline Arranger LinkInAnOpenFolder(LinkMaker maker, bool dangling, bool othersFolder)
{
    return [=](const fs::path& dir, const std::string& name, const Saver& s, const std::vector<std::string>&) {
        const fs::path pub = dir / "pub";
        fs::create_directory(pub);
        const uid_t folderOwner = othersFolder ? kOtherUser : 0;
        EXPECT_EQ(::chown(pub.c_str(), folderOwner, 0), 0);
        ::chmod(pub.c_str(), 01777);
        if (!dangling) Put(dir / "real", kOld, 0640, s.Uid, s.Gid);
        fs::create_symlink(dangling ? "../missing" : "../real", pub / name);
        const uid_t owner = maker == LinkMaker::Saver ? s.Uid : maker == LinkMaker::FolderOwner ? folderOwner : kOtherUser + 1;
        EXPECT_EQ(::lchown((pub / name).c_str(), owner, owner == s.Uid ? s.Gid : kOtherGroup), 0);
        return "pub/" + name;
    };
}

inline UnicodeString PlantedLink(const UnicodeString& fileName)
{
    return u"Cannot follow the link \"" + fileName + u"\": another user made it in a folder that anyone may write";
}

/// What a save of the user's that was killed left ("killedsv" stands for the random part of the
/// name), and files of others with names a temporary file has or had.
inline Arranger TemporaryFilesBeside()
{
    return [](const fs::path& dir, const std::string& name, const Saver& s, const std::vector<std::string>&) {
        Put(dir / name, kOld, 0644, s.Uid, s.Gid);
        Put(dir / ("." + name + ".killedsv.tmp"), "half the new", 0600, s.Uid, s.Gid);
        Put(dir / ("." + name + ".tmp"), "another program's", 0666, kOtherUser, kOtherGroup);
        Put(dir / ("." + name + ".strangr1.tmp"), "another user's", 0600, kOtherUser, kOtherGroup);
        return name;
    };
}

/// The saved file holds the new bytes; nothing else changed.
inline const Expecter kSavedThere = [](Scene& scene, const std::string& path, const std::string& bytes, const Saver&) {
    Saved(scene, path, bytes);
};
inline const Expecter kNothingChanged = [](Scene&, const std::string&, const std::string&, const Saver&) {};

inline UnicodeString TooLarge(const UnicodeString& fileName)
{
    return u"Cannot write \"" + fileName + u"\": File too large";
}

inline const std::vector<SaveCase>& Cases()
{
    static const std::vector<SaveCase> cases = {
        {"a file with a second name (hard link)", true, true, OwnFile(true),
         [](Scene& scene, const std::string& path, const std::string& bytes, const Saver&) {
             Saved(scene, path, bytes);
             Saved(scene, "second", bytes);
         },
         nullptr},
        {"another user's 0666 file in an open folder", true, true, AnotherUsersFile(0666), kSavedThere, nullptr},
        {"a user's 0640 file saved by root", true, false, AnotherUsersFile(0640), kSavedThere, nullptr},
        {"another user's 0666 file in a sticky folder", true, true, AnotherUsersFile(0666, "sticky", 01777), kSavedThere,
         nullptr},
        {"the user's file in a folder they may not write", true, true,
         [](const fs::path& dir, const std::string& name, const Saver& s, const std::vector<std::string>& companions) {
             fs::create_directory(dir / "shut");
             Put(dir / "shut" / name, kOld, 0640, s.Uid, s.Gid);
             // Files that could not be made there are there already.
             for (const std::string& suffix : companions) Put(dir / "shut" / (name + suffix), kOld, 0640, s.Uid, s.Gid);
             ::chmod((dir / "shut").c_str(), 0555);
             return "shut/" + name;
         },
         kSavedThere, nullptr},
        {"a file the user may not write", false, true, AnotherUsersFile(0444), kNothingChanged,
         [](const UnicodeString& fileName) { return u"Cannot write \"" + fileName + u"\": Permission denied"; }},
        {"a symbolic link", true, true,
         [](const fs::path& dir, const std::string& name, const Saver& s, const std::vector<std::string>&) {
             Put(dir / "real", kOld, 0640, s.Uid, s.Gid);
             fs::create_symlink("real", dir / name);
             return name;
         },
         [](Scene& scene, const std::string&, const std::string& bytes, const Saver&) { Saved(scene, "real", bytes); },
         nullptr},
        {"a dangling link", true, true,
         [](const fs::path& dir, const std::string& name, const Saver&, const std::vector<std::string>&) {
             fs::create_symlink("missing", dir / name);
             return name;
         },
         [](Scene& scene, const std::string&, const std::string& bytes, const Saver& s) {
             scene["missing"] = {bytes, {}, 1, s.Uid, s.Gid, NewFileMode()};
         },
         nullptr},
        {"a loop of links", true, true,
         [](const fs::path& dir, const std::string& name, const Saver&, const std::vector<std::string>&) {
             fs::create_symlink("loop", dir / name);
             fs::create_symlink(name, dir / "loop");
             return name;
         },
         kNothingChanged,
         [](const UnicodeString& fileName) {
             return u"Cannot follow the link \"" + fileName + u"\": Too many levels of symbolic links";
         }},
        {"a link where the temporary file went", true, true,
         [](const fs::path& dir, const std::string& name, const Saver& s, const std::vector<std::string>&) {
             Put(dir / name, kOld, 0644, s.Uid, s.Gid);
             Put(dir / "victim", "not to be written", 0666, s.Uid, s.Gid);
             fs::create_symlink("victim", dir / ("." + name + ".tmp"));
             return name;
         },
         kSavedThere, nullptr},
        {"temporary files beside: the user's from a killed save, and others'", true, true, TemporaryFilesBeside(),
         [](Scene& scene, const std::string& path, const std::string& bytes, const Saver&) {
             Saved(scene, path, bytes);
             scene.erase("." + path + ".killedsv.tmp");
         },
         nullptr},
        {"a private 0600 file", true, true, FileWith(0600, Owner::Saver, false, false), kSavedThere, nullptr},
        {"a file with set-ID bits", true, true, FileWith(06755, Owner::Saver, false, false), kSavedThere, nullptr},
        {"another user's 2770 file saved by root", true, false, FileWith(02770, Owner::OtherUser, false, false),
         kSavedThere, nullptr},
        {"root's 2770 file of another group saved by root", true, false, FileWith(02770, Owner::OtherGroup, false, false),
         kSavedThere, nullptr},
        {"a file with an ACL", true, true, FileWith(0600, Owner::Saver, true, false), kSavedThere, nullptr},
        {"a file with extended attributes", true, true, FileWith(0640, Owner::Saver, false, true), kSavedThere,
         nullptr},
        {"another user's file with an ACL and attributes saved by root", true, false,
         FileWith(04750, Owner::OtherUser, true, true), kSavedThere, nullptr},
        {"a FIFO", true, true, NotARegularFile(S_IFIFO), kNothingChanged, NotRegular(u"a FIFO")},
        {"a device", true, true, NotARegularFile(S_IFCHR), kNothingChanged, NotRegular(u"a device")},
        {"a socket", true, true, NotARegularFile(S_IFSOCK), kNothingChanged, NotRegular(u"a socket")},
        {"a folder", true, true, NotARegularFile(S_IFDIR), kNothingChanged, NotRegular(u"a folder")},
        {"the user's own link in a sticky folder anyone may write", true, true,
         LinkInAnOpenFolder(LinkMaker::Saver, false, false),
         [](Scene& scene, const std::string&, const std::string& bytes, const Saver&) { Saved(scene, "real", bytes); },
         nullptr},
        {"the folder owner's link in a sticky folder anyone may write", true, true,
         LinkInAnOpenFolder(LinkMaker::FolderOwner, false, true),
         [](Scene& scene, const std::string&, const std::string& bytes, const Saver&) { Saved(scene, "real", bytes); },
         nullptr},
        {"another user's link in a sticky folder anyone may write", true, true,
         LinkInAnOpenFolder(LinkMaker::Stranger, false, false), kNothingChanged, PlantedLink},
        {"another user's dangling link in a sticky folder anyone may write", true, true,
         LinkInAnOpenFolder(LinkMaker::Stranger, true, true), kNothingChanged, PlantedLink},
        {"a file another program is writing", true, true, OwnFile(false), kNothingChanged,
         [](const UnicodeString& fileName) {
             return u"Cannot write \"" + fileName + u"\": another program is writing the file";
         },
         false, true},
        {"no room for a file written in place (file-size limit)", true, true, OwnFile(true), kNothingChanged, TooLarge,
         true},
        {"no room for a file replaced (file-size limit)", true, true, OwnFile(false), kNothingChanged, TooLarge, true},
    };
    return cases;
}

/// The bytes that kind saves, as it writes them into a new file.
inline std::string BytesOf(const SaverKind& kind)
{
    TempFolder folder;
    RunInChild(false, [&] { EXPECT_EQ(kind.Save(folder.Name(kind.FileName)).Message, u""); });
    return folder.Read(kind.FileName);
}

/// Runs every case of the table through kind, as root and as nobody.
inline void RunSaveTable(const SaverKind& kind)
{
    if (::geteuid() != 0) GTEST_SKIP() << "the cases give files to other users: run as root";
    const std::string bytes = BytesOf(kind);
    ASSERT_GT(bytes.size(), kSizeLimit) << "the contents must not fit under the file-size limit";
    const passwd* nobody = ::getpwnam("nobody");
    for (const SaveCase& c : Cases()) {
        for (const bool unprivileged : {false, true}) {
            if (!(unprivileged ? c.ByNobody : c.ByRoot) || (unprivileged && !nobody)) continue;
            SCOPED_TRACE(std::string(kind.Name) + ": " + c.Name + (unprivileged ? ", saved by nobody" : ", saved by root"));
            const Saver saver = unprivileged ? Saver{nobody->pw_uid, nobody->pw_gid, true} : Saver{0, 0, false};
            TempFolder folder;
            const fs::path dir = folder.Path();
            ::chmod(dir.c_str(), 0777);
            const std::string path = c.Arrange(dir, kind.FileName, saver, kind.Companions);
            Scene expected = SceneOf(dir);
            c.Expect(expected, path, bytes, saver);
            const UnicodeString fileName = FromUtf8((dir / path).string());
            const UnicodeString message = c.Message ? c.Message(fileName) : UnicodeString();

            // Held by this process, across the fork: the child's own open of the file is refused it.
            const int locked = c.Locked ? ::open((dir / path).c_str(), O_RDONLY | O_CLOEXEC) : -1;
            if (c.Locked) {
                ASSERT_EQ(::flock(locked, LOCK_EX), 0);
            }
            RunInChild(unprivileged, [&] {
                // SIGXFSZ is left as it is: a save that wrote past the limit would end the child.
                const rlimit limit{kSizeLimit, kSizeLimit};
                if (c.SizeLimited) {
                    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
                }
                const SaveOutcome outcome = kind.Save(fileName);
                if (message.empty()) {
                    EXPECT_EQ(ToUtf8(outcome.Message), "");
                } else {
                    EXPECT_NE(outcome.Message.find(message), UnicodeString::npos) << ToUtf8(outcome.Message);
                }
                EXPECT_EQ(outcome.Message.find(u"damaged"), UnicodeString::npos) << "no old byte was written over";
                if (kind.Document) {
                    EXPECT_EQ(outcome.Modified, !message.empty()) << "a document stays changed exactly when not saved";
                }
            });
            if (locked >= 0) ::close(locked);
            Scene after = SceneOf(dir);
            for (const std::string& suffix : kind.Companions) {
                after.erase(path + suffix);
                expected.erase(path + suffix);
            }
            for (const auto& [name, facts] : expected) EXPECT_EQ(after[name], facts) << name;
            for (const auto& [name, facts] : after)
                EXPECT_TRUE(expected.count(name)) << name << " is new: " << ::testing::PrintToString(facts);
            ::chmod((dir / "shut").c_str(), 0755);
        }
    }
}

}  // namespace savecases
