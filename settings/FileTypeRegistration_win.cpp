#include "Settings.h"

#include "AtomicFile.h"
#include "PackagedFiles.h"
#include "Paths.h"

#include <stdexcept>

namespace kwizmar {

namespace {

void SetDefault(IRegistry& registry, const std::string& key, const std::string& value) {
    auto opened = registry.OpenKey(TRegistryRoot::ClassesRoot, key, true);
    if (!opened)
        throw std::runtime_error("cannot create " + key);
    opened->WriteString("", value);
}

} // namespace

void WriteTestFileType(IRegistry& registry, const std::string& windowsFolder,
                       const std::string& programFile) {
    SetDefault(registry, ".ts2", "TS2File");
    SetDefault(registry, "TS2File", "Plik testowy programu Nerbaly KWIZMAR 2002");
    SetDefault(registry, "TS2File\\DefaultIcon", windowsFolder + "\\KwIc.dll,0");
    SetDefault(registry, "TS2File\\shell\\open", "&Egzaminuj");
    // A path with a blank (C:\Program Files\...) is quoted: unquoted, the
    // shell would try C:\Program.exe first.
    const bool blank = programFile.find(' ') != std::string::npos;
    const std::string program = blank ? "\"" + programFile + "\"" : programFile;
    SetDefault(registry, "TS2File\\shell\\open\\command", program + " \"%1\"");
    WriteFileAtomically(PathFromUtf8(windowsFolder + "\\KwIc.dll"), TestFileIconIco());
}

} // namespace kwizmar
