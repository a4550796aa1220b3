#include "VersionTest.h"

#include "StrToInt.h"

#include <array>
#include <optional>
#include <string_view>

namespace kwizmar {

namespace {

// The four numbers of a version text, or nothing when a part isn't a number.
std::optional<std::array<int, 4>> VersionParts(std::string_view text) {
    std::array<std::string_view, 4> parts;
    for (int i = 0; i < 3; ++i) {
        const std::size_t dot = text.find('.');
        if (dot == std::string_view::npos) {
            parts[std::size_t(i)] = {};
        } else {
            parts[std::size_t(i)] = text.substr(0, dot);
            text.remove_prefix(dot + 1);
        }
    }
    parts[3] = text;
    std::array<int, 4> numbers{};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::optional<int> n = TryStrToInt(parts[i]);
        if (!n)
            return std::nullopt;
        numbers[i] = *n;
    }
    return numbers;
}

} // namespace

bool IsNewerVersion(const std::string& published, const std::string& running) {
    const auto p = VersionParts(published);
    const auto r = VersionParts(running);
    if (!p || !r)
        return false;
    for (std::size_t i = 0; i < 4; ++i)
        if ((*p)[i] != (*r)[i])
            return (*p)[i] > (*r)[i];
    return false;
}

} // namespace kwizmar
