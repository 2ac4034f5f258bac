// Running a piece of a test as a second user of the machine, in a child process.
#pragma once

#include <functional>

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kor::test {

/// The user a test runs its second user as: `nobody`, with the group `nogroup`.
inline constexpr uid_t kNobody = 65534;
inline constexpr gid_t kNogroup = 65534;

/// Whether the suite can act as a second user: only the superuser can become another user.
inline bool canActAsAnotherUser() {
    return ::geteuid() == 0;
}

/// Runs `body` in a child process that has become `nobody` (its groups, group and user set as
/// setpriv sets them) and gives its result: true when `body` returned true. The child leaves
/// with _exit, so that nothing of the test's own tear-down runs twice.
inline bool asNobody(const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        const bool became = ::setgroups(0, nullptr) == 0 &&
                            ::setresgid(kNogroup, kNogroup, kNogroup) == 0 &&
                            ::setresuid(kNobody, kNobody, kNobody) == 0;
        ::_exit(became && body() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace kor::test
