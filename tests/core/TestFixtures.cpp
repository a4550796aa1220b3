#include "TestFixtures.h"

#include <fstream>
#include <random>

namespace kwizmar::testing {

std::vector<std::string> ValidTestLines(int n) {
    std::vector<std::string> lines = {"Test próbny z geografii Polski",
                                      "\"Geografia\"",
                                      "Jan Kowalski",
                                      "06.05.2002",
                                      std::to_string(n),
                                      std::to_string(2 * n),
                                      "0"};
    for (int k = 1; k <= n; ++k) {
        const std::string s = std::to_string(k);
        lines.push_back("Pytanie " + s);
        for (const char* letter : {"A", "B", "C", "D", "E"})
            lines.push_back(std::string("Odp ") + letter + " " + s);
        lines.push_back("b");
        lines.push_back("2");
        lines.push_back(k % 2 == 0 ? "TAK - 3" : "NIE");
    }
    return lines;
}

std::string MakeTs2(const std::vector<std::string>& lines, bool finalBreak) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += Utf8ToCp1250(lines[i]);
        if (i + 1 < lines.size() || finalBreak)
            text += "\r\n";
    }
    return ScrambleTest(text);
}

TTempDir::TTempDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("kwizmar-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TTempDir::~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TTempDir::Write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream out(file, std::ios::binary);
    out << bytes;
    return file.string();
}

} // namespace kwizmar::testing
