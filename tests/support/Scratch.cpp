#include "Scratch.h"

#include "WholeFile.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {
const char* const kNames[] = {"XDG_CONFIG_HOME",     "XDG_DATA_HOME", "XDG_CONFIG_DIRS",
                              "XDG_DATA_DIRS",       "HOME",          "APPDATA",
                              "KWIZMAR_LOCKDOWN_LOG"};
}

TScratch::TScratch() {
    static_assert(std::size(kNames) == kVariables);
    for (int i = 0; i < kVariables; ++i) {
        if (const char* v = std::getenv(kNames[i])) {
            had_[i] = true;
            saved_[i] = v;
        }
    }
    SetEnv("XDG_CONFIG_HOME", ConfigHome().string());
    SetEnv("XDG_DATA_HOME", DataHome().string());
    SetEnv("XDG_CONFIG_DIRS", ConfigDir().string());
    SetEnv("XDG_DATA_DIRS", SystemDataDir().string());
    SetEnv("HOME", (Root() / "home").string());
    SetEnv("APPDATA", (Root() / "appdata").string());
    UnsetEnv("KWIZMAR_LOCKDOWN_LOG");
}

TScratch::~TScratch() {
    if (!mounted_.empty())
        Unmount();
    for (int i = 0; i < kVariables; ++i) {
        if (had_[i])
            SetEnv(kNames[i], saved_[i]);
        else
            UnsetEnv(kNames[i]);
    }
}

void TScratch::SetSysDir(const std::filesystem::path& sysDir) const {
    WriteBytes(SetupFile(),
               "Windows Registry Editor Version 5.00\n\n"
               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup]\n"
               "\"SysDir\"=\"" +
                   sysDir.string() + "\"\n");
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::string bytes;
    if (!kwizmar::ReadWholeFile(file, bytes))
        throw std::runtime_error("cannot read " + file.string());
    return bytes;
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}
