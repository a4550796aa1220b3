#include "WinIo.h"

namespace kwizmar::win {

bool WriteAllAt(HANDLE file, std::string_view bytes, std::uint64_t offset) {
    while (!bytes.empty()) {
        OVERLAPPED at{};
        at.Offset = DWORD(offset & 0xFFFFFFFFu);
        at.OffsetHigh = DWORD(offset >> 32);
        const DWORD chunk = bytes.size() > 0x10000000u ? 0x10000000u : DWORD(bytes.size());
        DWORD done = 0;
        if (!WriteFile(file, bytes.data(), chunk, &done, &at) || done == 0)
            return false;
        bytes.remove_prefix(done);
        offset += done;
    }
    return true;
}

bool CutAt(HANDLE file, std::uint64_t size) {
    LARGE_INTEGER at;
    at.QuadPart = LONGLONG(size);
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

} // namespace kwizmar::win
