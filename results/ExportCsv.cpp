#include "ExportCsv.h"

namespace kwizmar {

namespace {

std::string TwoDigits(std::int64_t v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

void AppendRow(std::string& out, const std::array<std::string, kExportColumns>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += ';';
        out += cells[i];
    }
    out += "\r\n";
}

} // namespace

std::string CsvCell(const TCell& c) {
    switch (c.type) {
    case TCellType::Empty:
        return {};
    case TCellType::Number:
        return std::to_string(c.number);
    case TCellType::Text:
        return Quoted(c.text);
    case TCellType::Date:
        return TwoDigits(c.date.day) + "." + TwoDigits(c.date.month) + "." +
               std::to_string(c.date.year);
    case TCellType::Time:
        return TwoDigits(c.time.hour) + ":" + TwoDigits(c.time.minute) + ":" +
               TwoDigits(c.time.second);
    case TCellType::Duration:
        return TwoDigits(c.number / 3600) + ":" + TwoDigits(c.number / 60 % 60) + ":" +
               TwoDigits(c.number % 60);
    }
    return {};
}

std::string ExportCsv(const std::vector<TResultLine>& lines, const TExportTable& table,
                      const TExportFilter& filter) {
    std::string out = "\xEF\xBB\xBF";
    out.reserve(lines.size() * 200);
    std::array<std::string, kExportColumns> cells;
    for (std::size_t i = 0; i < kExportColumns; ++i)
        cells[i] = Quoted(ExportHeader()[i]);
    AppendRow(out, cells);
    for (const TResultLine& line : lines) {
        if (!table.Matches(line, filter))
            continue;
        const auto row = table.Row(line);
        for (std::size_t i = 0; i < kExportColumns; ++i)
            cells[i] = CsvCell(row[i]);
        AppendRow(out, cells);
    }
    return out;
}

} // namespace kwizmar
