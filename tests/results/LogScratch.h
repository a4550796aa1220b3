#pragma once

#include "MemoryRegistry.h"
#include "Paths.h"
#include "Scratch.h"

// A scratch folder with `<root>/sys` as SysDir, named both by the Setup file
// (for the registry files, the system's registry where there is no Windows)
// and in a registry in memory (for the tests that run on every system).
struct TLogScratch : TScratch {
    TLogScratch() {
        std::filesystem::create_directories(SysDir());
        SetSysDir(SysDir());
    }
    void SetSysDir(const std::filesystem::path& sysDir) {
        TScratch::SetSysDir(sysDir);
        registry.OpenKey(kwizmar::TRegistryRoot::LocalMachine, kwizmar::kSetupKey, true)
            ->WriteString("SysDir", kwizmar::Utf8FromPath(sysDir));
    }
    kwizmar::IRegistry& Registry() { return registry; }
    std::filesystem::path SysDir() const { return Root() / "sys"; }
    std::filesystem::path Log() const { return SysDir() / "MSStr32.dll"; }
    // Where a result that could not reach the log waits.
    std::filesystem::path Pending() const { return DataHome() / "Kwizmar/wyniki-oczekujace.txt"; }

    kwizmar::testing::TMemoryRegistry registry;
};
