#include "QtRegionalSettings.h"

#include "Text.h"

#include <QLocale>

namespace kwizmar {

namespace {

bool IsPlainCLocale(const QLocale& locale) {
    return locale.language() == QLocale::C;
}

} // namespace

std::string TQtRegionalSettings::ShortDateFormat() const {
    const QLocale locale = QLocale::system();
    if (IsPlainCLocale(locale))
        return kPolishShortDateFormat;
    return locale.dateFormat(QLocale::ShortFormat).toStdString();
}

std::string TQtRegionalSettings::LongTimeFormat() const {
    const QLocale locale = QLocale::system();
    if (IsPlainCLocale(locale))
        return kPolishLongTimeFormat;
    return WithoutTimeZone(locale.timeFormat(QLocale::LongFormat).toStdString());
}

std::string WithoutTimeZone(const std::string& format) {
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '\'')
            quoted = !quoted;
        if (!quoted && c == 't') {
            while (!out.empty() && out.back() == ' ')
                out.pop_back();
            continue;
        }
        out += c;
    }
    return std::string(Trim(out, " "));
}

} // namespace kwizmar
