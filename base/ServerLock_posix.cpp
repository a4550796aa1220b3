#include "ServerLockPlatform.h"

#include "AtomicFile.h"
#include "PosixIo.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kwizmar::serverlock {

namespace {

std::atomic<unsigned> probeCounter{0};

std::int64_t Nanoseconds(const struct timespec& t) {
    return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

} // namespace

TCreated CreateExclusive(const std::filesystem::path& path, std::string_view content) {
    int fd;
    do
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno == EEXIST ? TCreated::Exists : TCreated::Refused;
    // Every member of a lab's group must be able to read and remove it.
    posix::ShareWithFolder(fd, path.parent_path());
    // A holder killed before its content is out leaves an empty file, which is
    // judged by its age alone.
    const bool written = posix::WriteAll(fd, content) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        ::unlink(path.c_str());
        return TCreated::Refused;
    }
    return TCreated::Yes;
}

std::optional<TSeen> ReadLock(const std::filesystem::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    TSeen seen;
    seen.changed = Nanoseconds(st.st_mtim);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return seen;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || seen.content.size() > 4096)
            break;
        seen.content.append(buffer, std::size_t(n));
    }
    ::close(fd);
    return seen;
}

std::optional<std::int64_t> ServerNow(const std::filesystem::path& near) {
    std::filesystem::path probe = near;
    probe += ".zegar-" + ThisProcess() + "-" + std::to_string(probeCounter++);
    const int fd =
        ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::nullopt;
    ::close(fd);
    // Asked after the file is closed, so that the time is the server's, not
    // what this computer's cache made up at the creation.
    struct stat st {};
    const bool known = ::lstat(probe.c_str(), &st) == 0;
    ::unlink(probe.c_str());
    if (!known)
        return std::nullopt;
    return Nanoseconds(st.st_mtim);
}

void Remove(const std::filesystem::path& path) {
    ::unlink(path.c_str());
}

std::string ThisHost() {
    char name[256] = "";
    if (::gethostname(name, sizeof name - 1) != 0)
        return "";
    return name;
}

std::string ThisProcess() {
    return std::to_string(::getpid());
}

std::string StartOf(const std::string& pid) {
    // Field 22 of /proc/<pid>/stat, counted after the command name, which is
    // in brackets and may itself hold blanks and brackets.
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return "";
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos)
        return "";
    std::size_t at = close + 1;
    for (int field = 3; field <= 22; ++field) {
        const std::size_t begin = line.find_first_not_of(' ', at);
        if (begin == std::string::npos)
            return "";
        at = line.find(' ', begin);
        if (field == 22)
            return line.substr(begin, at == std::string::npos ? std::string::npos : at - begin);
    }
    return "";
}

bool ProcessGone(const std::string& pid, const std::string& start) {
    if (pid.empty())
        return false;
    unsigned long id = 0;
    for (char c : pid) {
        if (c < '0' || c > '9' || id > 0x7FFFFFFFul)
            return false;
        id = id * 10 + unsigned(c - '0');
    }
    if (ProcessIsGone(id))
        return true;
    // The id runs again, maybe for another program that started since.
    const std::string now = StartOf(pid);
    return !start.empty() && !now.empty() && now != start;
}

} // namespace kwizmar::serverlock
