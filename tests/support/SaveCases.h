#pragma once
// What a save must keep of a file, as one table for every saver (the shared writer, and the savers
// that add steps of their own): its bytes, its other names, its links, owner, group and mode, and
// the old bytes when there is no room for the new. Each case is saved by root and, where it
// applies, by "nobody", in a forked child; the folder is compared name by name before and after.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>
#include "platform/Text.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace savecases {

namespace fs = std::filesystem;

/// One name in a folder as a save may change it.
struct FileFacts {
    /// A regular file's bytes.
    std::string Bytes;
    /// What a symbolic link says; empty for anything else.
    std::string LinkTarget;
    nlink_t Links = 0;
    uid_t Owner = 0;
    gid_t Group = 0;
    unsigned Mode = 0;
    bool operator==(const FileFacts&) const = default;
};

inline void PrintTo(const FileFacts& f, std::ostream* out)
{
    *out << (f.LinkTarget.empty() ? "" : "-> " + f.LinkTarget + " ") << f.Bytes.size() << " bytes "
         << ::testing::PrintToString(f.Bytes.substr(0, 24)) << " links " << f.Links << " owner " << f.Owner << ':'
         << f.Group << " mode " << std::oct << f.Mode << std::dec;
}

/// Every name below a folder (relative path) with its facts; a link is not followed.
using Scene = std::map<std::string, FileFacts>;

/// Adds the names below folder to scene, as paths relative to top.
inline void AddNames(Scene& scene, const fs::path& top, const fs::path& folder)
{
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        struct stat st;
        if (::lstat(entry.path().c_str(), &st) != 0) continue;
        FileFacts facts{{}, {}, st.st_nlink, st.st_uid, st.st_gid, unsigned(st.st_mode & 07777)};
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
        {"a link where the temporary file goes", true, true,
         [](const fs::path& dir, const std::string& name, const Saver& s, const std::vector<std::string>&) {
             Put(dir / name, kOld, 0644, s.Uid, s.Gid);
             Put(dir / "victim", "not to be written", 0666, s.Uid, s.Gid);
             fs::create_symlink("victim", dir / ("." + name + ".tmp"));
             return name;
         },
         [](Scene& scene, const std::string& path, const std::string& bytes, const Saver&) {
             Saved(scene, path, bytes);
             scene.erase("." + path + ".tmp");
         },
         nullptr},
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
