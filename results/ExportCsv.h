#pragma once

#include "ExportTable.h"

#include <string>
#include <vector>

namespace kwizmar {

// The lines as a CSV file that a Polish spreadsheet opens with a double
// click: UTF-8 with a byte-order mark (and no "sep=" line, after which Excel
// ignores the mark), ";" between fields, CR LF after every row, the header
// row first. Text is in double quotes, a quote inside doubled; numbers are
// bare; dates are dd.MM.yyyy, times and durations HH:mm:ss. Only the lines
// the filter lets through are written.
std::string ExportCsv(const std::vector<TResultLine>& lines, const TExportTable& table,
                      const TExportFilter& filter = {});

// One row of cells as ExportCsv writes it, with its CR LF; a real number has
// a decimal comma ("72,5").
void AppendCsvRow(std::string& out, std::span<const TCell> row);

} // namespace kwizmar
