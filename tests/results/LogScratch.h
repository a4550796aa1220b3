#pragma once

#include "Scratch.h"

// A scratch folder whose Setup file names `<root>/sys` as SysDir.
struct TLogScratch : TScratch {
    TLogScratch() {
        std::filesystem::create_directories(SysDir());
        SetSysDir(SysDir());
    }
    std::filesystem::path SysDir() const { return Root() / "sys"; }
    std::filesystem::path Log() const { return SysDir() / "MSStr32.dll"; }
    // Where a result that could not reach the log waits.
    std::filesystem::path Pending() const { return DataHome() / "Kwizmar/wyniki-oczekujace.txt"; }
};
