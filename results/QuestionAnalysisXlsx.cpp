#include "ExportXlsx.h"
#include "QuestionAnalysisTable.h"
#include "XlsxWriting.h"

#include <cstdint>

namespace kwizmar {

void ExportAnalysisXlsx(const std::filesystem::path& path, const TQuestionAnalysis& analysis) {
    const std::vector<TSheetRow> rows = AnalysisSheet(analysis);
    WriteWorkbook(path, [&](lxw_workbook* book) {
        lxw_worksheet* sheet = workbook_add_worksheet(book, "Analiza pytań");
        if (!sheet)
            return false;
        const TXlsxFormats formats = AddFormats(book, true);
        // On paper (A4): landscape, as wide as the page.
        constexpr std::uint8_t kA4 = 9;
        worksheet_set_paper(sheet, kA4);
        worksheet_set_landscape(sheet);
        worksheet_fit_to_pages(sheet, 1, 0);
        TColumnWidths widths(QuestionHeader());
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const TSheetRow& row = rows[r];
            using TKind = TSheetRow::TKind;
            // A title and a note run on over the empty cells beside them.
            if (row.kind != TKind::Title && row.kind != TKind::Note)
                widths.Fit(row.cells);
            const bool bold = row.kind == TKind::Title || row.kind == TKind::Header;
            for (std::size_t c = 0; c < row.cells.size(); ++c) {
                if (bold && row.cells[c].type == TCellType::Text)
                    worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c),
                                           row.cells[c].text.c_str(), formats.bold);
                else
                    WriteXlsxCell(sheet, lxw_row_t(r), lxw_col_t(c), row.cells[c], formats);
            }
        }
        for (lxw_col_t c = 0; c < QuestionHeader().size(); ++c)
            worksheet_set_column(sheet, c, c, widths.Width(c), nullptr);
        return true;
    });
}

} // namespace kwizmar
