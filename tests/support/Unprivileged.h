#pragma once
// What a user may not do with a file, tried as such a user: the tests run as root, who may read
// and write any file, so the trial runs in a forked child that has dropped to "nobody".
#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>

/// False when the tests run as root and there is no "nobody" to drop to.
inline bool CanRunUnprivileged()
{
    return ::geteuid() != 0 || ::getpwnam("nobody") != nullptr;
}

/// How many failures the running test has had so far; a forked child counts its own from here.
inline int FailuresSoFar()
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!test) return 0;
    int failures = 0;
    for (int i = 0; i < test->result()->total_part_count(); ++i) failures += test->result()->GetTestPartResult(i).failed();
    return failures;
}

/// Runs body in a forked child and waits for it; with unprivileged, under root, the child drops to
/// uid:gid ("nobody" unless given) first, with a state folder of its own (XDG_STATE_HOME), where a
/// write in place may keep its copy of the old bytes. The child reports its own failures; the test
/// fails with it. Run no threads of the test's own meanwhile.
inline void RunInChild(bool unprivileged, const std::function<void()>& body, uid_t uid = 0, gid_t gid = 0)
{
    const passwd* nobody = ::getpwnam("nobody");
    if (unprivileged) {
        ASSERT_TRUE(CanRunUnprivileged());
        if (uid == 0) uid = nobody->pw_uid, gid = nobody->pw_gid;
    }
    std::string state;
    if (unprivileged && ::geteuid() == 0) {
        state = (std::filesystem::temp_directory_path() / "tavlo-state-XXXXXX").string();
        ASSERT_TRUE(::mkdtemp(state.data()));
        ASSERT_EQ(::chown(state.c_str(), uid, gid), 0);
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!state.empty()) {
            ::setenv("XDG_STATE_HOME", state.c_str(), 1);
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) ::_exit(2);
        }
        const int before = FailuresSoFar();
        body();
        ::_exit(FailuresSoFar() > before ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (!state.empty()) std::filesystem::remove_all(state);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: privileges could not be dropped; 1: see the child's failures above";
}

/// Runs body as "nobody" in a forked child (RunInChild).
inline void RunUnprivileged(const std::function<void()>& body)
{
    RunInChild(true, body);
}

/// A file's bytes and permission bits, to compare before and after.
struct FileState {
    std::string Bytes;
    std::filesystem::perms Mode = std::filesystem::perms::none;
    bool operator==(const FileState&) const = default;
};

inline void PrintTo(const FileState& state, std::ostream* out)
{
    *out << ::testing::PrintToString(state.Bytes) << " mode " << std::oct << unsigned(state.Mode) << std::dec;
}

/// Writes a file and gives it a mode.
inline FileState PutFile(const std::string& path, const std::string& bytes, std::filesystem::perms mode)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    std::filesystem::permissions(path, mode);
    return {bytes, mode};
}

inline FileState StateOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::string(std::istreambuf_iterator<char>(in), {}),
            std::filesystem::status(path).permissions() & std::filesystem::perms::mask};
}
