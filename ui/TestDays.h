#pragma once

#include "ExportTable.h"
#include "ResultLine.h"

#include <string>
#include <vector>

class QComboBox;
class QDateEdit;

// The choice of a test and of its days in the windows over one test's exams
// (the class summary, the analysis of the questions).

namespace kwizmar {

// The days the test's exams span, in `from` and `to`; where none of its dates
// can be read, today in both, and the days don't count (disabled).
void ShowTestDays(const std::vector<TResultLine>& lines, const TExportTable& table,
                  const std::string& test, QDateEdit* from, QDateEdit* to);
// The test chosen, and its days where they count.
TExportFilter ChosenFilter(const QComboBox* test, const QDateEdit* from, const QDateEdit* to);

} // namespace kwizmar
