#pragma once

#include "ClassSummary.h"

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QPrinter;

namespace kwizmar {

class TGradeChart;
class TSpeedButton;

// "Podsumowanie klasy": for one test of the list and a range of days, the
// number of exams, the mean, median, lowest and highest percentage and the
// grades as a bar chart; printed on one page with the names and grades, or
// exported to a spreadsheet.
class TClassSummaryWindow final : public QWidget {
public:
    explicit TClassSummaryWindow(QWidget* parent);

    // The lines of the statistics list; the first test is chosen, with the
    // range of days its exams span.
    void ShowLines(const std::vector<std::string>& lines);

    // "&Drukuj": the print dialog, then the page.
    void PrintClick();
    // The summary on one page of `printer`.
    void Print(QPrinter& printer);

    const TClassSummary& Summary() const { return summary_; }

private:
    void TestChosen();
    void Recount();
    TExportFilter Filter() const;

    std::vector<std::string> text_;
    std::vector<TResultLine> lines_;
    TExportTable table_;
    TClassSummary summary_;
    bool filling_ = false;

    QComboBox* TestBox = nullptr;
    QDateEdit* FromDate = nullptr;
    QDateEdit* ToDate = nullptr;
    QLabel* Figures = nullptr;
    TGradeChart* Chart = nullptr;
    TSpeedButton* PrintButton = nullptr;
    TSpeedButton* ExportButton = nullptr;
    TSpeedButton* CloseButton = nullptr;
};

// "Egzaminów: 5, średnio 72,5%, mediana 70%, najniżej 45%, najwyżej 95%"
QString FiguresText(const TClassSummary& summary);

} // namespace kwizmar
