#include "ExportXlsx.h"

#include "Cp1250.h"
#include "Errors.h"
#include "XlsxWriting.h"

#include <cstdint>
#include <random>
#include <system_error>

namespace kwizmar {

namespace {

// A cell holds at most 32,767 characters; a longer line (only a hand-edited
// one can be) keeps its beginning, cut between characters.
std::string FitCell(const std::string& text) {
    constexpr std::size_t kMaxCodeUnits = 32767;
    if (text.size() <= kMaxCodeUnits)
        return text;
    std::size_t end = 0, count = 0, pos = 0;
    char32_t cp;
    while (pos < text.size() && count < kMaxCodeUnits) {
        if (!NextCodePoint(text, pos, cp))
            ++pos;
        ++count;
        end = pos;
    }
    return text.substr(0, end);
}

class TWorkbook {
public:
    explicit TWorkbook(const std::string& path) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE; // rows go to the file as they are written
        book_ = workbook_new_opt(path.c_str(), &options);
    }
    ~TWorkbook() {
        if (book_)
            workbook_close(book_);
    }
    lxw_workbook* get() const { return book_; }
    bool Close() {
        const lxw_error error = workbook_close(book_);
        book_ = nullptr;
        return error == LXW_NO_ERROR;
    }

private:
    lxw_workbook* book_ = nullptr;
};

} // namespace

TXlsxFormats AddFormats(lxw_workbook* book, bool reals) {
    TXlsxFormats f;
    f.bold = workbook_add_format(book);
    format_set_bold(f.bold);
    f.date = workbook_add_format(book);
    format_set_num_format(f.date, "dd.mm.yyyy");
    f.time = workbook_add_format(book);
    format_set_num_format(f.time, "hh:mm:ss");
    f.duration = workbook_add_format(book);
    format_set_num_format(f.duration, "[h]:mm:ss");
    if (reals) {
        const char* codes[] = {"0", "0.0", "0.00", "0.000"};
        for (std::size_t places = 0; places < f.real.size(); ++places) {
            f.real[places] = workbook_add_format(book);
            format_set_num_format(f.real[places], codes[places]);
        }
    }
    return f;
}

void WriteXlsxCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t c, const TCell& cell,
                   const TXlsxFormats& formats) {
    switch (cell.type) {
    case TCellType::Empty:
        break;
    case TCellType::Number:
        worksheet_write_number(sheet, row, c, double(cell.number), nullptr);
        break;
    case TCellType::Text:
        worksheet_write_string(sheet, row, c, FitCell(cell.text).c_str(), nullptr);
        break;
    case TCellType::Date: {
        lxw_datetime dt{cell.date.year, cell.date.month, cell.date.day, 0, 0, 0};
        worksheet_write_datetime(sheet, row, c, &dt, formats.date);
        break;
    }
    case TCellType::Time:
        worksheet_write_number(sheet, row, c,
                               (cell.time.hour * 3600 + cell.time.minute * 60 + cell.time.second) /
                                   86400.0,
                               formats.time);
        break;
    case TCellType::Duration:
        worksheet_write_number(sheet, row, c, double(cell.number) / 86400.0, formats.duration);
        break;
    case TCellType::Real:
        worksheet_write_number(sheet, row, c, cell.real,
                               cell.number >= 0 && std::size_t(cell.number) < formats.real.size()
                                   ? formats.real[std::size_t(cell.number)]
                                   : nullptr);
        break;
    }
}

void WriteWorkbook(const std::filesystem::path& path,
                   const std::function<bool(lxw_workbook*)>& fill) {
    std::filesystem::path temporary = path;
    temporary += ".tmp" + std::to_string(std::random_device()()) + "-xlsx";
    bool written = false;
    {
        TWorkbook book(temporary.string());
        written = book.get() && fill(book.get()) && book.Close();
    }
    std::error_code error;
    if (written)
        std::filesystem::rename(temporary, path, error);
    if (!written || error) {
        std::filesystem::remove(temporary, error);
        throw EFCreateError(path.string());
    }
}

void ExportXlsx(const std::filesystem::path& path, const std::vector<TResultLine>& lines,
                const TExportTable& table, const TExportFilter& filter) {
    WriteWorkbook(path, [&](lxw_workbook* book) {
        lxw_worksheet* sheet = workbook_add_worksheet(book, "Wyniki");
        if (!sheet)
            return false;
        const TXlsxFormats formats = AddFormats(book);
        for (lxw_col_t c = 0; c < kExportColumns; ++c)
            worksheet_write_string(sheet, 0, c, ExportHeader()[c], formats.bold);
        worksheet_freeze_panes(sheet, 1, 0);
        // On paper (A4): across the wide table, and the header on every page.
        constexpr std::uint8_t kA4 = 9;
        worksheet_set_paper(sheet, kA4);
        worksheet_set_landscape(sheet);
        worksheet_repeat_rows(sheet, 0, 0);
        TColumnWidths widths;
        lxw_row_t row = 0;
        for (const TResultLine& line : lines) {
            if (!table.Matches(line, filter))
                continue;
            ++row;
            const auto cells = table.Row(line);
            widths.Fit(cells);
            for (lxw_col_t c = 0; c < kExportColumns; ++c)
                WriteXlsxCell(sheet, row, c, cells[c], formats);
        }
        // The columns are laid out when the workbook closes, after the
        // rows have gone to the file.
        for (lxw_col_t c = 0; c < kExportColumns; ++c)
            worksheet_set_column(sheet, c, c, widths.Width(c), nullptr);
        worksheet_autofilter(sheet, 0, 0, row, kExportColumns - 1);
        return true;
    });
}

} // namespace kwizmar
