#include "ResultsLogFormat.h"

#include "Cp1250.h"

#include <charconv>

namespace kwizmar {

std::vector<std::string> ParseLog(std::string_view bytes) {
    std::vector<std::string> lines;
    ForEachLogLine(bytes, [&](std::size_t offset, std::size_t size, TLineEnd) {
        lines.push_back(Cp1250ToUtf8(bytes.substr(offset, size)));
    });
    return lines;
}

std::string FormatLog(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += EncodeLogLine(line) + "\r\n";
    return out;
}

std::vector<std::string_view> SplitLogLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    ForEachLogLine(bytes, [&](std::size_t offset, std::size_t size, TLineEnd) {
        lines.push_back(bytes.substr(offset, size));
    });
    return lines;
}

std::string EncodeLogLine(const std::string& utf8) {
    return Utf8ToCp1250(utf8, '?');
}

std::string_view LineEndToClose(std::string_view bytes) {
    if (bytes.empty() || bytes.back() == '\n')
        return {};
    return bytes.back() == '\r' ? "\n" : "\r\n";
}

TLogShape ShapeOfLog(std::string_view bytes) {
    TLogShape shape;
    const bool whole =
        ForEachLogLine(bytes, [&](std::size_t offset, std::size_t size, TLineEnd end) {
            ++shape.lines;
            if (end == TLineEnd::Lf || (end == TLineEnd::Cr && offset + size + 1 != bytes.size()))
                shape.crLf = false;
        });
    shape.crLf = shape.crLf && whole;
    return shape;
}

std::string WithCrLfLines(std::string_view bytes, std::size_t capacity) {
    std::string whole;
    whole.reserve(capacity);
    ForEachLogLine(bytes, [&](std::size_t offset, std::size_t size, TLineEnd) {
        whole.append(bytes, offset, size);
        whole += "\r\n";
    });
    return whole;
}

bool LogHoldsResult(std::string_view bytes, std::string_view text) {
    const std::string needle = ". " + std::string(text);
    for (std::size_t pos = bytes.find(needle); pos != std::string_view::npos;
         pos = bytes.find(needle, pos + 1)) {
        const std::size_t end = pos + needle.size();
        if (end == bytes.size() || bytes[end] == '\r' || bytes[end] == '\n')
            return true;
    }
    return false;
}

int LogLineNumberOf(std::string_view bytes, std::string_view text) {
    int found = 0;
    ForEachLogLine(bytes, [&](std::size_t offset, std::size_t size, TLineEnd) {
        if (found)
            return;
        const std::string_view line = bytes.substr(offset, size);
        if (line.size() < text.size() + 3 || !line.ends_with(text))
            return;
        const std::string_view number = line.substr(0, line.size() - text.size());
        if (!number.ends_with(". "))
            return;
        int k = 0;
        const char* end = number.data() + number.size() - 2;
        const auto [ptr, ec] = std::from_chars(number.data(), end, k);
        if (ec == std::errc() && ptr == end && k > 0 && number[0] != '+')
            found = k;
    });
    return found;
}

bool AppendedTo(std::string_view before, std::string_view now, std::size_t& since) {
    if (now.size() < before.size() || now.compare(0, before.size(), before) != 0)
        return false;
    since = before.size();
    const char lastByte = before.empty() ? '\n' : before.back();
    if (since < now.size() && lastByte != '\n') {
        // The last line had no line end, or only CR: an appending copy ended it.
        const std::string_view rest = now.substr(since);
        if (lastByte == '\r') {
            if (rest.front() == '\n')
                ++since;
        } else if (rest.starts_with("\r\n")) {
            since += 2;
        } else if (rest.front() == '\r' || rest.front() == '\n') {
            ++since;
        } else {
            return false; // the last line itself was changed
        }
    }
    return true;
}

} // namespace kwizmar
