#pragma once

#include "RegionalSettings.h"

namespace kwizmar {

// The user's regional settings through QLocale::system(). Where the locale is
// the plain C/POSIX one, which has no regional setting of its own, the Polish
// formats serve. The time-zone part of Qt's long time format is left out: the
// program shows local wall-clock times only.
class TQtRegionalSettings final : public IRegionalSettings {
public:
    std::string ShortDateFormat() const override;
    std::string LongTimeFormat() const override;
};

// Removes the time-zone fields ("t") of a Qt time format with the blanks that
// lead up to them; quoted text is kept.
std::string WithoutTimeZone(const std::string& qtTimeFormat);

} // namespace kwizmar
