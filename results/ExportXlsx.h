#pragma once

#include "ExportTable.h"
#include "QuestionAnalysis.h"

#include <filesystem>
#include <vector>

namespace kwizmar {

// The lines as an Excel workbook of one sheet, "Wyniki": the header row
// frozen with an autofilter over the table, columns as wide as their
// contents need, numbers as numbers, dates and times as dates and times of
// the spreadsheet, the rest as text. Only the lines the filter lets through
// are written.
//
// The workbook is written beside `path` and renamed over it when whole, so
// that a failed export leaves an earlier file as it was. Throws EFCreateError
// ("Cannot create file %s") when it can't be written.
void ExportXlsx(const std::filesystem::path& path, const std::vector<TResultLine>& lines,
                const TExportTable& table, const TExportFilter& filter = {});

// The analysis of the questions as a workbook of one sheet, "Analiza pytań":
// the rows of AnalysisSheet, titles and headers bold, real numbers with their
// decimal places, landscape on A4 and as wide as the page. Written and
// replaced as ExportXlsx does.
void ExportAnalysisXlsx(const std::filesystem::path& path, const TQuestionAnalysis& analysis);

} // namespace kwizmar
