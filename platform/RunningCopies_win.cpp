#include "RunningCopies.h"

#include "Paths.h"

#include <algorithm>
#include <thread>

#include <windows.h>

#include <tlhelp32.h>

namespace kwizmar {

namespace {

// A folder as the system spells it in full and long, as it names a process's
// program file, for comparing.
std::wstring FullFolder(const std::wstring& folder) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD size = GetFullPathNameW(folder.c_str(), DWORD(full.size()), full.data(), nullptr);
    if (size >= full.size()) {
        full.resize(size);
        size = GetFullPathNameW(folder.c_str(), DWORD(full.size()), full.data(), nullptr);
    }
    full.resize(size == 0 ? 0 : size);
    if (full.empty())
        full = folder;
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/'))
        full.pop_back();
    std::wstring longer(32768, L'\0');
    const DWORD longSize = GetLongPathNameW(full.c_str(), longer.data(), DWORD(longer.size()));
    if (longSize > 0 && longSize < longer.size())
        full.assign(longer.data(), longSize);
    return full;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// The program file of a process (full and long), read into `path`; empty
// where the process can't be looked into.
void ProgramOf(DWORD pid, std::wstring& path) {
    path.resize(32768);
    DWORD size = 0;
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
        size = DWORD(path.size());
        if (!QueryFullProcessImageNameW(process, 0, path.data(), &size))
            size = 0;
        CloseHandle(process);
    }
    path.resize(size);
}

struct TWindowsOf {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    auto& of = *reinterpret_cast<TWindowsOf*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == of.pid)
        of.windows.push_back(window);
    return TRUE;
}

} // namespace

std::vector<TRunningCopy> RunningCopiesIn(const std::vector<std::string>& folders) {
    std::vector<std::wstring> wanted;
    for (const auto& folder : folders)
        if (!folder.empty())
            wanted.push_back(FullFolder(PathFromUtf8(folder).wstring()));
    std::vector<TRunningCopy> copies;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return copies;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    std::vector<PROCESSENTRY32W> processes;
    for (bool more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry))
        processes.push_back(entry);
    CloseHandle(snapshot);
    // This process and those that started it (an uninstaller running from
    // the very folder it empties, through NSIS's runner) are no copies to
    // wait for.
    std::vector<DWORD> ancestry{GetCurrentProcessId()};
    for (bool found = true; found && ancestry.size() < 64;) {
        found = false;
        for (const auto& process : processes)
            if (process.th32ProcessID == ancestry.back() && process.th32ParentProcessID != 0 &&
                std::find(ancestry.begin(), ancestry.end(), process.th32ParentProcessID) ==
                    ancestry.end()) {
                ancestry.push_back(process.th32ParentProcessID);
                found = true;
                break;
            }
    }
    std::wstring program;
    for (const auto& entry : processes) {
        if (std::find(ancestry.begin(), ancestry.end(), entry.th32ProcessID) != ancestry.end())
            continue;
        ProgramOf(entry.th32ProcessID, program);
        const auto slash = program.find_last_of(L"\\/");
        if (slash == std::wstring::npos)
            continue;
        const std::wstring folder = program.substr(0, slash);
        if (std::any_of(wanted.begin(), wanted.end(),
                        [&](const std::wstring& w) { return SameText(w, folder); }))
            copies.push_back({entry.th32ProcessID,
                              Utf8FromPath(std::filesystem::path(program.substr(slash + 1)))});
    }
    std::sort(copies.begin(), copies.end(),
              [](const TRunningCopy& a, const TRunningCopy& b) { return a.pid < b.pid; });
    return copies;
}

int AskToEnd(const std::vector<TRunningCopy>& copies, std::chrono::milliseconds patience) {
    const UINT wait = UINT(patience.count());
    int asked = 0;
    for (const TRunningCopy& copy : copies) {
        TWindowsOf of{DWORD(copy.pid), {}};
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&of));
        if (of.windows.empty())
            continue;
        ++asked;
        // As the system's Restart Manager asks: may the session end, then
        // it ends, for this application alone.
        bool agreed = true;
        for (HWND window : of.windows) {
            DWORD_PTR answer = TRUE;
            if (SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP,
                                    SMTO_ABORTIFHUNG, wait, &answer) &&
                answer == FALSE)
                agreed = false;
        }
        for (HWND window : of.windows) {
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(window, WM_ENDSESSION, agreed, ENDSESSION_CLOSEAPP,
                                SMTO_ABORTIFHUNG, wait, &answer);
        }
    }
    return asked;
}

std::vector<TRunningCopy> WaitForTheEnd(const std::vector<std::string>& folders,
                                        std::chrono::milliseconds time) {
    const auto until = std::chrono::steady_clock::now() + time;
    for (;;) {
        auto left = RunningCopiesIn(folders);
        if (left.empty() || std::chrono::steady_clock::now() >= until)
            return left;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
}

} // namespace kwizmar
