#include "ExportCsv.h"

namespace kwizmar {

namespace {

void AppendTwoDigits(std::string& out, std::int64_t v) {
    if (v < 10 && v >= 0)
        out += '0';
    out += std::to_string(v);
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

// A spreadsheet takes a cell that starts with one of these for a formula,
// quoted or not: a pupil's name such as =HYPERLINK(…) would run as one.
bool LooksLikeFormula(std::string_view text) {
    return !text.empty() &&
           std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

void AppendCell(std::string& out, const TCell& c) {
    switch (c.type) {
    case TCellType::Empty:
        break;
    case TCellType::Number:
        out += std::to_string(c.number);
        break;
    case TCellType::Text:
        // The apostrophe keeps it text, as a person types it in a cell.
        AppendQuoted(out, LooksLikeFormula(c.text) ? "'" + c.text : c.text);
        break;
    case TCellType::Date:
        AppendTwoDigits(out, c.date.day);
        out += '.';
        AppendTwoDigits(out, c.date.month);
        out += '.';
        out += std::to_string(c.date.year);
        break;
    case TCellType::Time:
        AppendTwoDigits(out, c.time.hour);
        out += ':';
        AppendTwoDigits(out, c.time.minute);
        out += ':';
        AppendTwoDigits(out, c.time.second);
        break;
    case TCellType::Duration:
        AppendTwoDigits(out, c.number / 3600);
        out += ':';
        AppendTwoDigits(out, c.number / 60 % 60);
        out += ':';
        AppendTwoDigits(out, c.number % 60);
        break;
    case TCellType::Real:
        out += DecimalText(c.real, int(c.number));
        break;
    }
}

} // namespace

void AppendCsvRow(std::string& out, std::span<const TCell> row) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0)
            out += ';';
        AppendCell(out, row[i]);
    }
    out += "\r\n";
}

std::string ExportCsv(const std::vector<TResultLine>& lines, const TExportTable& table,
                      const TExportFilter& filter) {
    std::string out = "\xEF\xBB\xBF";
    out.reserve(lines.size() * 160);
    for (std::size_t i = 0; i < kExportColumns; ++i) {
        if (i > 0)
            out += ';';
        AppendQuoted(out, ExportHeader()[i]);
    }
    out += "\r\n";
    for (const TResultLine& line : lines) {
        if (!table.Matches(line, filter))
            continue;
        AppendCsvRow(out, table.Row(line));
    }
    return out;
}

} // namespace kwizmar
