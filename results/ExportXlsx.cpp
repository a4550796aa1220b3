#include "ExportXlsx.h"

#include "Cp1250.h"
#include "Errors.h"

#include <xlsxwriter.h>

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

void ExportXlsx(const std::filesystem::path& path, const std::vector<TResultLine>& lines,
                const TExportTable& table, const TExportFilter& filter) {
    std::filesystem::path temporary = path;
    temporary += ".tmp" + std::to_string(std::random_device()()) + "-xlsx";
    bool written = false;
    {
        TWorkbook book(temporary.string());
        lxw_worksheet* sheet = book.get() ? workbook_add_worksheet(book.get(), "Wyniki") : nullptr;
        if (sheet) {
            lxw_format* bold = workbook_add_format(book.get());
            format_set_bold(bold);
            lxw_format* date = workbook_add_format(book.get());
            format_set_num_format(date, "dd.mm.yyyy");
            lxw_format* time = workbook_add_format(book.get());
            format_set_num_format(time, "hh:mm:ss");
            lxw_format* duration = workbook_add_format(book.get());
            format_set_num_format(duration, "[h]:mm:ss");

            for (lxw_col_t c = 0; c < kExportColumns; ++c)
                worksheet_write_string(sheet, 0, c, ExportHeader()[c], bold);
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
                for (lxw_col_t c = 0; c < kExportColumns; ++c) {
                    const TCell& cell = cells[c];
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
                        worksheet_write_datetime(sheet, row, c, &dt, date);
                        break;
                    }
                    case TCellType::Time:
                        worksheet_write_number(
                            sheet, row, c,
                            (cell.time.hour * 3600 + cell.time.minute * 60 + cell.time.second) /
                                86400.0,
                            time);
                        break;
                    case TCellType::Duration:
                        worksheet_write_number(sheet, row, c, double(cell.number) / 86400.0,
                                               duration);
                        break;
                    }
                }
            }
            // The columns are laid out when the workbook closes, after the
            // rows have gone to the file.
            for (lxw_col_t c = 0; c < kExportColumns; ++c)
                worksheet_set_column(sheet, c, c, widths.Width(c), nullptr);
            worksheet_autofilter(sheet, 0, 0, row, kExportColumns - 1);
            written = book.Close();
        }
    }
    std::error_code error;
    if (written)
        std::filesystem::rename(temporary, path, error);
    if (!written || error) {
        std::filesystem::remove(temporary, error);
        throw EFCreateError(path.string());
    }
}

} // namespace kwizmar
