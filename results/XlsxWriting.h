#pragma once

#include "ExportTable.h"

#include <xlsxwriter.h>

#include <array>
#include <filesystem>
#include <functional>

// What the workbooks of the export share: the cells of a table written with
// their types, and a workbook that replaces the file only once it is whole.
// Inside kwizmar_xlsx only.

namespace kwizmar {

struct TXlsxFormats {
    lxw_format* bold = nullptr;
    lxw_format* date = nullptr;
    lxw_format* time = nullptr;
    lxw_format* duration = nullptr;
    // Real numbers by their decimal places, 0 … 3; only where asked for.
    std::array<lxw_format*, 4> real{};
};

// Bold, date, time and length of time; with `reals`, the real numbers' too.
TXlsxFormats AddFormats(lxw_workbook* book, bool reals = false);

// One cell at (row, column) by its type; a text longer than a cell holds
// keeps its beginning.
void WriteXlsxCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const TCell& cell,
                   const TXlsxFormats& formats);

// Makes a workbook beside `path`, in which `fill` writes (false: it could
// not), and renames it over `path` when whole, so that a failed export leaves
// an earlier file as it was. Rows go to the file as they are written: each
// sheet's rows in order. Throws EFCreateError ("Cannot create file %s").
void WriteWorkbook(const std::filesystem::path& path,
                   const std::function<bool(lxw_workbook*)>& fill);

} // namespace kwizmar
