#include "Scratch.h"

#include <cstdlib>

bool TScratch::MountTmpfs(const std::filesystem::path&, std::size_t) {
    return false;
}

bool TScratch::RemountReadOnly() {
    return false;
}

void TScratch::Unmount() {}

void SetEnv(const char* name, const std::string& value) {
    _putenv_s(name, value.c_str());
}

// An empty value removes the variable.
void UnsetEnv(const char* name) {
    _putenv_s(name, "");
}
