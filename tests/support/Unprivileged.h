#pragma once

#include <exception>
#include <string>
#include <vector>

#include <grp.h>
#include <sys/stat.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs `action` in a forked child without any capability, so that even root
// is held to file permissions and ownership as an ordinary user is, and
// returns the text `action` returned. GoogleTest's assertions in the child
// never reach the test: `action` reports through its result.
template <class F> std::string RunUnprivileged(F action);

// Runs `action` in a forked child as the user `uid` with the group `gid` and
// the supplementary `groups` (umask 022), as setpriv --reuid --regid --groups
// does: a user other than root has no capabilities. Returns what `action`
// returned. Only root can run it.
template <class F>
std::string RunAsUser(uid_t uid, gid_t gid, const std::vector<gid_t>& groups, F action);

namespace unprivileged {

// Runs `prepare` and, when it succeeded, `action` in a forked child; returns
// the text `action` returned.
template <class P, class F> std::string RunInChild(P prepare, F action) {
    int channel[2];
    if (pipe(channel) != 0)
        return "<no pipe>";
    const pid_t child = fork();
    if (child < 0)
        return "<no fork>";
    if (child == 0) {
        close(channel[0]);
        std::string result = "<the capabilities could not be dropped>";
        if (prepare()) {
            try {
                result = action();
            } catch (const std::exception& e) {
                result = std::string("<threw> ") + e.what();
            }
        }
        for (std::size_t done = 0; done < result.size();) {
            const ssize_t n = write(channel[1], result.data() + done, result.size() - done);
            if (n <= 0)
                break;
            done += std::size_t(n);
        }
        _exit(0); // the parent's objects (scratch folders) are the parent's to clean up
    }
    close(channel[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? text : "<the child crashed>";
}

} // namespace unprivileged

template <class F> std::string RunUnprivileged(F action) {
    return unprivileged::RunInChild(
        [] {
            __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
            __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3] = {};
            return syscall(SYS_capset, &header, none) == 0;
        },
        action);
}

template <class F>
std::string RunAsUser(uid_t uid, gid_t gid, const std::vector<gid_t>& groups, F action) {
    return unprivileged::RunInChild(
        [&] {
            umask(022);
            return setgroups(groups.size(), groups.data()) == 0 && setresgid(gid, gid, gid) == 0 &&
                   setresuid(uid, uid, uid) == 0;
        },
        action);
}
