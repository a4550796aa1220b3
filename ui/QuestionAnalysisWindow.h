#pragma once

#include "QuestionAnalysis.h"

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QPrinter;
class QTableWidget;

namespace kwizmar {

class TSpeedButton;

// "Analiza pytań": for one test of the list (and one version of it, where it
// was edited between exams) and a range of days, each question's facility,
// discrimination and choices, with bars, the test's figures and the exams
// without records; printed on one page, or exported to a spreadsheet.
class TQuestionAnalysisWindow final : public QWidget {
public:
    explicit TQuestionAnalysisWindow(QWidget* parent);

    // The lines of the statistics list and the records file beside the log;
    // the test (and version) of line `selected` is chosen, or the first test
    // where none is selected.
    void ShowLines(const std::vector<std::string>& lines, const std::string& recordsPath,
                   int selected);

    // "&Drukuj": the print dialog, then the page.
    void PrintClick();
    // The analysis of the chosen version on one page of `printer`.
    void Print(QPrinter& printer);

    const TQuestionAnalysis& Analysis() const { return analysis_; }
    // The version shown; nullptr while the chosen test has none.
    const TTestAnalysis* Shown() const;

private:
    void TestChosen();
    void Recount();
    void ShowVersion();
    TExportFilter Filter() const;

    std::vector<TResultLine> lines_;
    std::string records_;
    TExportTable table_;
    TQuestionAnalysis analysis_;
    std::optional<std::uint64_t> wantedHash_; // the selected line's version
    bool filling_ = false;

    QComboBox* TestBox = nullptr;
    QLabel* VersionLabel = nullptr;
    QComboBox* VersionBox = nullptr;
    QDateEdit* FromDate = nullptr;
    QDateEdit* ToDate = nullptr;
    QLabel* Figures = nullptr;
    QLabel* Note = nullptr; // the exams without records
    QTableWidget* Tabela = nullptr;
    TSpeedButton* ExportButton = nullptr;
    TSpeedButton* PrintButton = nullptr;
    TSpeedButton* CloseButton = nullptr;
};

// The figures in a sentence, with the regional decimal separator:
// "Egzaminy z danymi o pytaniach: 6; średnio 2,3 pkt (odchylenie
// standardowe 0,7), 38,9% (12,4); KR-20: -0,31".
QString AnalysisFiguresText(const TTestAnalysis& test);

} // namespace kwizmar
