#pragma once

#include <exception>
#include <string>
#include <vector>

#include <grp.h>
#include <linux/capability.h>
#include <pwd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs `action` in a forked child without any capability, so that even root
// is held to file permissions and ownership as an ordinary user is, and
// returns the text `action` returned. GoogleTest's assertions in the child
// never reach the test: `action` reports through its result.
template <class F> std::string RunUnprivileged(F action);

template <class F> std::string RunUnprivileged(F action) {
    int channel[2];
    if (pipe(channel) != 0)
        return "<no pipe>";
    const pid_t child = fork();
    if (child < 0)
        return "<no fork>";
    if (child == 0) {
        close(channel[0]);
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3] = {};
        std::string result = "<the capabilities could not be dropped>";
        if (syscall(SYS_capset, &header, none) == 0) {
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
