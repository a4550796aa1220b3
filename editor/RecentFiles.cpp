#include "RecentFiles.h"

#include <algorithm>

namespace kwizmar {

namespace {

std::string ValueName(int i) {
    return "OstatniTest" + std::to_string(i + 1);
}

} // namespace

std::vector<std::string> TRecentFiles::List() const {
    std::vector<std::string> paths;
    try {
        const auto key = registry_.OpenKey(TRegistryRoot::CurrentUser, kSettingsKey, false);
        if (!key)
            return paths;
        for (int i = 0; i < kRecentFilesKept; ++i) {
            const std::string name = ValueName(i);
            if (key->GetDataType(name) != TRegDataType::String)
                continue;
            const std::string path = key->ReadString(name);
            if (!path.empty())
                paths.push_back(path);
        }
    } catch (const EPlatformError&) {
        // A list that can't be read is no reason to keep a test from opening.
        paths.clear();
    }
    return paths;
}

void TRecentFiles::Add(const std::string& path) {
    std::vector<std::string> paths = List();
    std::erase(paths, path);
    paths.insert(paths.begin(), path);
    Write(paths);
}

void TRecentFiles::Remove(const std::string& path) {
    std::vector<std::string> paths = List();
    std::erase(paths, path);
    Write(paths);
}

void TRecentFiles::Write(const std::vector<std::string>& paths) {
    const auto key = registry_.OpenKey(TRegistryRoot::CurrentUser, kSettingsKey, true);
    if (!key)
        throw EFailedToSetData(ValueName(0));
    for (int i = 0; i < kRecentFilesKept; ++i) {
        const std::string value =
            static_cast<std::size_t>(i) < paths.size() ? paths[static_cast<std::size_t>(i)] : "";
        if (!value.empty() || key->ValueExists(ValueName(i)))
            key->WriteString(ValueName(i), value);
    }
}

} // namespace kwizmar
