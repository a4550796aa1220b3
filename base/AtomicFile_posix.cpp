#include "AtomicFile.h"

#include "Errors.h"
#include "Paths.h"
#include "SafeReplace.h"
#include "WholeFile.h"

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <system_error>
#include <unistd.h>

namespace kwizmar {

namespace {

// The failure of the last call, for the user's message.
std::error_code LastError() {
    return {errno, std::generic_category()};
}

} // namespace

bool ProcessIsGone(unsigned long pid) {
    if (pid == 0 || pid > 0x7FFFFFFFul)
        return false;
    // Signal 0 only asks whether the process is there; EPERM means it is,
    // under another user.
    if (::kill(pid_t(pid), 0) != 0)
        return errno == ESRCH;
    // A process killed whose parent has not yet collected it (a zombie) still
    // answers, but has ended: its state in /proc is "Z".
    std::string stat;
    if (TryReadWholeFile("/proc/" + std::to_string(pid) + "/stat", stat) != TWholeFileRead::Read)
        return false;
    const std::size_t name = stat.rfind(')');
    return name != std::string::npos && name + 2 < stat.size() && stat[name + 2] == 'Z';
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path file = LinkTarget(path);
    switch (ReplaceBeside(file, -1, bytes)) {
    case TReplaceWay::Beside:
        RemoveStaleTemporaries(file);
        return;
    case TReplaceWay::Fail:
        throw EFCreateError(Utf8FromPath(path), LastError());
    case TReplaceWay::InPlace:
        break;
    }

    // Written over in place, its old bytes kept beside it in a temporary file
    // until the new ones are on disk. What can't be read back isn't written over.
    std::string old;
    if (TryReadWholeFile(file, old) != TWholeFileRead::Read)
        throw EFCreateError(Utf8FromPath(path), LastError());
    const int target = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (target < 0)
        throw EFCreateError(Utf8FromPath(path), LastError());
    const bool written = RewriteInPlace(target, bytes, old, [&] { return TemporaryName(file); });
    const std::error_code cause = LastError();
    ::close(target);
    if (!written)
        throw EFCreateError(Utf8FromPath(path), cause);
    RemoveStaleTemporaries(file);
}

} // namespace kwizmar
