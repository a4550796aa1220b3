#pragma once

#include "ExportTable.h"
#include "QuestionAnalysis.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kwizmar {

// Writes the log's lines (as the statistics window lists them) to `path`: an
// XLSX workbook when the name ends in ".xlsx" (in any case), else CSV. Either
// file replaces an earlier one only once it is whole. Throws EFCreateError
// ("Cannot create file %s") when it can't be written.
void ExportLogLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                    const TExportTable& table, const TExportFilter& filter = {});

// Writes the analysis of the questions to `path`, a workbook or CSV by the
// name's ending as above. Throws EFCreateError as ExportLogLines does.
void ExportQuestionAnalysis(const std::filesystem::path& path, const TQuestionAnalysis& analysis);

} // namespace kwizmar
