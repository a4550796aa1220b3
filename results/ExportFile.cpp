#include "ExportFile.h"

#include "AtomicFile.h"
#include "ExportCsv.h"
#include "ExportXlsx.h"
#include "QuestionAnalysisTable.h"

#include <cctype>

namespace kwizmar {

namespace {

bool IsXlsx(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".xlsx";
}

} // namespace

void ExportLogLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                    const TExportTable& table, const TExportFilter& filter) {
    std::vector<TResultLine> parsed;
    parsed.reserve(lines.size());
    for (const std::string& line : lines)
        parsed.push_back(ParseResultLine(line));
    if (IsXlsx(path))
        ExportXlsx(path, parsed, table, filter);
    else
        WriteFileAtomically(path, ExportCsv(parsed, table, filter));
}

void ExportQuestionAnalysis(const std::filesystem::path& path, const TQuestionAnalysis& analysis) {
    if (IsXlsx(path))
        ExportAnalysisXlsx(path, analysis);
    else
        WriteFileAtomically(path, AnalysisCsv(analysis));
}

} // namespace kwizmar
