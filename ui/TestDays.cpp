#include "TestDays.h"

#include <QComboBox>
#include <QDateEdit>

#include <optional>

namespace kwizmar {

namespace {

QDate ToQDate(const TDate& d) {
    return QDate(d.year, d.month, d.day);
}

TDate FromQDate(const QDate& d) {
    return {d.year(), d.month(), d.day()};
}

} // namespace

void ShowTestDays(const std::vector<TResultLine>& lines, const TExportTable& table,
                  const std::string& test, QDateEdit* from, QDateEdit* to) {
    std::optional<QDate> first, last;
    for (const TResultLine& line : lines) {
        if (!line.fields || TestTitle(*line.fields) != test)
            continue;
        if (const auto date = table.StartDate(*line.fields)) {
            const QDate day = ToQDate(*date);
            if (!first || day < *first)
                first = day;
            if (!last || *last < day)
                last = day;
        }
    }
    const QDate today = QDate::currentDate();
    from->setDate(first.value_or(today));
    to->setDate(last.value_or(today));
    from->setEnabled(first.has_value());
    to->setEnabled(first.has_value());
}

TExportFilter ChosenFilter(const QComboBox* test, const QDateEdit* from, const QDateEdit* to) {
    TExportFilter filter;
    filter.test = test->currentText().toStdString();
    if (from->isEnabled()) {
        filter.from = FromQDate(from->date());
        filter.to = FromQDate(to->date());
    }
    return filter;
}

} // namespace kwizmar
