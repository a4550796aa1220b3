#pragma once

#include <filesystem>
#include <string>

namespace kwizmar::testing {

// A fresh folder under the system temporary folder that only this user may
// enter. It is removed with everything in it on destruction, also where a test
// took the write permission of something inside away.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

} // namespace kwizmar::testing
