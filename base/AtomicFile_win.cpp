#include "AtomicFile.h"

#include "Errors.h"
#include "Paths.h"
#include "SafeReplace.h"

#include <windows.h>

namespace kwizmar {

bool ProcessIsGone(unsigned long pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER; // no process of that id
    // A process that has ended but whose handle someone still holds is gone too.
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const std::filesystem::path target = LinkTarget(path);
    // Nothing is written in place here: a file that can't be replaced beside
    // itself is a failure to report.
    if (ReplaceBeside(target, -1, bytes) != TReplaceWay::Beside)
        throw EFCreateError(Utf8FromPath(path));
    RemoveStaleTemporaries(target);
}

} // namespace kwizmar
