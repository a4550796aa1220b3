#include "Settings.h"

#include "AtomicFile.h"
#include "Paths.h"
#include "PackagedFiles.h"

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
    SetDefault(registry, "TS2File\\shell\\open\\command", programFile + " \"%1\"");
    WriteFileAtomically(PathFromUtf8(windowsFolder + "\\KwIc.dll"), TestFileIconIco());
}

} // namespace kwizmar
