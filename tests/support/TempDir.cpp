#include "TempDir.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace kwizmar::testing {

TTempDir::TTempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const std::filesystem::path candidate =
            std::filesystem::temp_directory_path() /
            ("kwizmar-test-" + std::to_string(random()) + std::to_string(random()));
        if (std::filesystem::create_directory(candidate))
            path_ = candidate;
    }
    if (path_.empty())
        throw std::runtime_error("no fresh temporary folder");
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
}

TTempDir::~TTempDir() {
    std::error_code ec;
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string TTempDir::Write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream out(file, std::ios::binary);
    out << bytes;
    return file.string();
}

} // namespace kwizmar::testing
