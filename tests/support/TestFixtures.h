#pragma once

#include "Cp1250.h"
#include "ExamPorts.h"
#include "RegionalSettings.h"
#include "TempDir.h"
#include "TestFile.h"
#include "TextMeasure.h"

#include <string>
#include <vector>

namespace kwizmar::testing {

// Messages nobody reads, and a clock that always says 6 May 2002, 10:15:00:
// for running exams where nobody watches (the fuzz targets).
class TSilentMessages final : public IMessageBox {
public:
    void ShowMessage(const std::string&) override {}
};

class TFixedClock final : public ILocalClock {
public:
    TLocalDateTime Now() const override { return {{2002, 5, 6}, {10, 15, 0}}; }
    std::int64_t EpochSeconds() const override { return 1020680100; }
};

// Regional settings with a fixed short date format.
class TFakeRegional final : public IRegionalSettings {
public:
    explicit TFakeRegional(std::string dateFormat = kPolishShortDateFormat,
                           std::string timeFormat = kPolishLongTimeFormat)
        : date_(std::move(dateFormat)), time_(std::move(timeFormat)) {}
    std::string ShortDateFormat() const override { return date_; }
    std::string LongTimeFormat() const override { return time_; }

private:
    std::string date_, time_;
};

// Every character is 7 pixels wide, so a line of the question area holds 66.
class TFakeMeasure final : public ITextMeasure {
public:
    int TextWidth(std::string_view utf8, const TFontSpec&) const override {
        return 7 * static_cast<int>(CodePointCount(utf8));
    }
};

// The lines of a valid test with `n` questions; question k asks "Pytanie k",
// answers "Odp X k", correct letter "b", 2 points, and the self-answer line
// "TAK - 3" for even k, "NIE" for odd k.
std::vector<std::string> ValidTestLines(int n);

// The stored bytes of a test: the UTF-8 lines encoded in Windows-1250, joined
// by CR LF (with a final CR LF when `finalBreak`) and scrambled.
std::string MakeTs2(const std::vector<std::string>& lines, bool finalBreak = true);

} // namespace kwizmar::testing
