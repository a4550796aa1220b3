#pragma once

#include <exception>
#include <string>
#include <vector>

#include <grp.h>
#include <linux/capability.h>
#include <pwd.h>
#include <sys/stat.h>
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

// Makes the whole process (every thread) act as the ordinary user `uid`, in
// the group of the same number and no other, without capabilities, until
// destroyed; root keeps only the saved user id that takes it back. For a test
// of a whole program in this process, which a forked child can't hold.
class TActingAs {
public:
    explicit TActingAs(uid_t uid) {
        groups_.resize(std::size_t(getgroups(0, nullptr) > 0 ? getgroups(0, nullptr) : 0));
        if (!groups_.empty())
            groups_.resize(std::size_t(getgroups(int(groups_.size()), groups_.data())));
        acting_ = geteuid() == 0 && setgroups(0, nullptr) == 0 &&
                  setresgid(gid_t(uid), gid_t(uid), 0) == 0 && setresuid(uid, uid, 0) == 0;
    }
    ~TActingAs() {
        if (setresuid(0, 0, 0) == 0 && setresgid(0, 0, 0) == 0)
            setgroups(groups_.size(), groups_.data());
    }
    TActingAs(const TActingAs&) = delete;
    TActingAs& operator=(const TActingAs&) = delete;

    bool Acting() const { return acting_; }

private:
    std::vector<gid_t> groups_;
    bool acting_ = false;
};

// The login name of `uid`, or its number where the system has none.
inline std::string LoginNameOf(uid_t uid) {
    const passwd* entry = getpwuid(uid);
    return entry ? entry->pw_name : std::to_string(uid);
}

// Runs the shell script `script`, with `arg` as its "$1", as the user 1001:
// another user of the computer, without any capability, who owns nothing of
// the test's. True when the script ended with 0.
inline bool RunAsAnotherUser(const std::string& script, const std::string& arg) {
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        execlp("setpriv", "setpriv", "--reuid=1001", "--regid=1001", "--clear-groups", "sh", "-c",
               script.c_str(), "sh", arg.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// While it lives, the calling thread works without its effective
// capabilities, held to file permissions and ownership as an ordinary user
// is, also when the test runs as root; they come back at the end. Threads
// started meanwhile keep none either. Dropped() is false where they could
// not be laid aside.
class TWithoutCapabilities {
public:
    TWithoutCapabilities() {
        if (syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3];
        for (int i = 0; i < _LINUX_CAPABILITY_U32S_3; ++i)
            none[i] = {0, saved_[i].permitted, saved_[i].inheritable};
        dropped_ = syscall(SYS_capset, &header_, none) == 0;
    }
    ~TWithoutCapabilities() {
        if (dropped_)
            syscall(SYS_capset, &header_, saved_);
    }
    TWithoutCapabilities(const TWithoutCapabilities&) = delete;
    TWithoutCapabilities& operator=(const TWithoutCapabilities&) = delete;
    bool Dropped() const { return dropped_; }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[_LINUX_CAPABILITY_U32S_3] = {};
    bool dropped_ = false;
};
