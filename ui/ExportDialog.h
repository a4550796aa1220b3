#pragma once

#include "ExportTable.h"
#include "QuestionAnalysis.h"

#include <QFileDialog>

#include <string>
#include <vector>

namespace kwizmar {

// "Eksportuj wyniki": where to save the statistics list as a spreadsheet, an
// Excel workbook (*.xlsx) or a CSV text (*.csv), in Polish. The name gets the
// extension of the chosen type when it has none.
class TExportDialog final : public QFileDialog {
public:
    explicit TExportDialog(QWidget* parent);
};

// Asks where, then writes `lines` there (those the filter lets through); a
// file that can't be written is reported in the program's error box.
void ExportWithDialog(QWidget* parent, const std::vector<std::string>& lines,
                      const TExportFilter& filter = {});

// The same dialog, titled "Eksportuj analizę pytań", then the analysis there.
void ExportAnalysisWithDialog(QWidget* parent, const TQuestionAnalysis& analysis);

} // namespace kwizmar
