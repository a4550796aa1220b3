#include "Settings.h"

#include "AtomicFile.h"
#include "PackagedFiles.h"
#include "Paths.h"

#include <stdexcept>

#include <windows.h>

namespace kwizmar {

namespace {

void SetDefault(IRegistry& registry, const std::string& key, const std::string& value) {
    auto opened = registry.OpenKey(TRegistryRoot::ClassesRoot, key, true);
    if (!opened)
        throw std::runtime_error("cannot create " + key);
    opened->WriteString("", value);
}

// A path with a blank (C:\Program Files\...) is quoted: unquoted, the shell
// would try C:\Program.exe first.
std::string OpenCommand(const std::string& programFile) {
    const bool blank = programFile.find(' ') != std::string::npos;
    return (blank ? "\"" + programFile + "\"" : programFile) + " \"%1\"";
}

// The machine's own classes, where the installer records the type, already
// open test files with this program (paths compare as Windows compares them,
// without regard to case).
bool InstalledForTheMachine(IRegistry& registry, const std::string& command) {
    auto key = registry.OpenKey(TRegistryRoot::LocalMachine,
                                "Software\\Classes\\TS2File\\shell\\open\\command", false);
    if (!key || key->GetDataType("") != TRegDataType::String)
        return false;
    const std::wstring installed = PathFromUtf8(key->ReadString("")).wstring();
    const std::wstring own = PathFromUtf8(command).wstring();
    return CompareStringOrdinal(installed.c_str(), static_cast<int>(installed.size()),
                                own.c_str(), static_cast<int>(own.size()),
                                TRUE) == CSTR_EQUAL;
}

} // namespace

// Where the installer has recorded the type for the whole machine, opening
// test files with this very program, nothing is written: a pupil's account
// may write neither the machine's classes nor the Windows folder, and the
// installer's keys and icon stand for every user.
void WriteTestFileType(IRegistry& registry, const std::string& windowsFolder,
                       const std::string& programFile) {
    const std::string command = OpenCommand(programFile);
    if (InstalledForTheMachine(registry, command))
        return;
    SetDefault(registry, ".ts2", "TS2File");
    SetDefault(registry, "TS2File", "Plik testowy programu Nerbaly KWIZMAR 2002");
    SetDefault(registry, "TS2File\\DefaultIcon", windowsFolder + "\\KwIc.dll,0");
    SetDefault(registry, "TS2File\\shell\\open", "&Egzaminuj");
    SetDefault(registry, "TS2File\\shell\\open\\command", command);
    WriteFileAtomically(PathFromUtf8(windowsFolder + "\\KwIc.dll"), TestFileIconIco());
}

bool TestFileTypeComplete() noexcept {
    return true;
}

} // namespace kwizmar
