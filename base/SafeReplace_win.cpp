#include "SafeReplace.h"

#include "WinIo.h"

namespace kwizmar {

namespace {

// A new file no one else has opened, named by `name` (asked again while the
// name is taken); INVALID_HANDLE_VALUE on failure.
HANDLE OpenNew(const std::function<std::filesystem::path()>& name, std::filesystem::path& made) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        made = name();
        HANDLE file = CreateFileW(made.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteWhole(HANDLE file, std::string_view bytes) {
    return win::WriteAllAt(file, bytes, 0) && win::CutAt(file, bytes.size()) &&
           FlushFileBuffers(file);
}

} // namespace

TReplaceWay ReplaceBeside(const std::filesystem::path& file, std::intptr_t /*handle*/,
                          std::string_view bytes) {
    TReplaceFacts facts;
    facts.exists = GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::filesystem::path temp;
    HANDLE out = OpenNew([&] { return TemporaryName(file); }, temp);
    facts.madeBeside = out != INVALID_HANDLE_VALUE;
    if (const TReplaceWay way = WayToReplace(facts); way != TReplaceWay::Beside)
        return way;

    const bool written = win::WriteAllAt(out, bytes, 0) && FlushFileBuffers(out);
    const bool closed = CloseHandle(out) != FALSE;
    if (!written || !closed) {
        DeleteFileW(temp.c_str());
        return TReplaceWay::Fail;
    }
    if (!MoveFileExW(temp.c_str(), file.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        return TReplaceWay::Fail;
    }
    return TReplaceWay::Beside;
}

bool RewriteInPlace(std::intptr_t handle, std::string_view bytes, std::string_view old,
                    const std::function<std::filesystem::path()>& backupName) {
    std::filesystem::path backup;
    HANDLE copy = OpenNew(backupName, backup);
    if (copy == INVALID_HANDLE_VALUE)
        return false;
    const bool kept = win::WriteAllAt(copy, old, 0) && FlushFileBuffers(copy);
    CloseHandle(copy);
    if (!kept) {
        DeleteFileW(backup.c_str());
        return false;
    }

    HANDLE file = reinterpret_cast<HANDLE>(handle);
    if (WriteWhole(file, bytes)) {
        DeleteFileW(backup.c_str());
        return true;
    }
    if (WriteWhole(file, old))
        DeleteFileW(backup.c_str());
    return false;
}

} // namespace kwizmar
