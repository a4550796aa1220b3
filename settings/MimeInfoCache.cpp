#include "MimeInfoCache.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace kwizmar {

namespace {

constexpr std::string_view kGroup = "[MIME Cache]";

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

// The programs of `line` when it is the line of `mimeType`.
std::optional<std::vector<std::string>> Handlers(std::string_view line, std::string_view mimeType) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || Trimmed(line.substr(0, equals)) != mimeType)
        return std::nullopt;
    std::vector<std::string> ids;
    std::string_view value = Trimmed(line.substr(equals + 1));
    while (!value.empty()) {
        const std::size_t end = value.find(';');
        const std::string_view id = Trimmed(value.substr(0, end));
        if (!id.empty() && std::find(ids.begin(), ids.end(), id) == ids.end())
            ids.emplace_back(id);
        value = end == std::string_view::npos ? std::string_view() : value.substr(end + 1);
    }
    return ids;
}

std::string Line(std::string_view mimeType, const std::vector<std::string>& ids) {
    std::string line(mimeType);
    line += '=';
    for (const std::string& id : ids)
        line += id + ';';
    return line;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    return text;
}

bool IsHeader(std::string_view line) {
    return Trimmed(line).starts_with('[');
}

} // namespace

std::string MimeCacheWithHandler(std::string_view cache, std::string_view mimeType,
                                 std::string_view desktopId) {
    std::vector<std::string> lines = Lines(cache);
    std::optional<std::size_t> groupEnd; // where a new line of the group goes
    bool found = false;
    bool inGroup = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (IsHeader(lines[i])) {
            inGroup = Trimmed(lines[i]) == kGroup;
            if (inGroup)
                groupEnd = i + 1;
            continue;
        }
        if (!inGroup)
            continue;
        if (!Trimmed(lines[i]).empty())
            groupEnd = i + 1;
        if (auto ids = Handlers(lines[i], mimeType)) {
            std::erase(*ids, desktopId);
            ids->insert(ids->begin(), std::string(desktopId));
            lines[i] = Line(mimeType, *ids);
            found = true;
        }
    }
    if (!found) {
        const std::string line = Line(mimeType, {std::string(desktopId)});
        if (groupEnd) {
            lines.insert(lines.begin() + std::ptrdiff_t(*groupEnd), line);
        } else {
            if (!lines.empty() && !Trimmed(lines.back()).empty())
                lines.emplace_back();
            lines.emplace_back(kGroup);
            lines.push_back(line);
        }
    }
    return Joined(lines);
}

std::string MimeCacheWithoutHandler(std::string_view cache, std::string_view mimeType,
                                    std::string_view desktopId) {
    std::vector<std::string> lines = Lines(cache);
    bool changed = false;
    bool inGroup = false;
    for (std::size_t i = 0; i < lines.size();) {
        if (IsHeader(lines[i]))
            inGroup = Trimmed(lines[i]) == kGroup;
        auto ids = inGroup ? Handlers(lines[i], mimeType) : std::nullopt;
        if (ids && std::erase(*ids, desktopId) > 0) {
            changed = true;
            if (ids->empty()) {
                lines.erase(lines.begin() + std::ptrdiff_t(i));
                continue;
            }
            lines[i] = Line(mimeType, *ids);
        }
        ++i;
    }
    return changed ? Joined(lines) : std::string(cache);
}

} // namespace kwizmar
