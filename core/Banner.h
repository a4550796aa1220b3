#pragma once

#include "Control.h"
#include "RegionalSettings.h"
#include "TextMeasure.h"

#include <string>

namespace kwizmar {

// The font of the two banner labels; each label is as wide as its text in it.
const TFontSpec& BannerFont();

// Width of the exam page, the strip the banner runs across.
inline constexpr int kExamPageWidth = 511;
// The leading copy is put back behind the other once its right end passes this x.
inline constexpr int kBannerSwapX = 550;
inline constexpr int kBannerGap = 20;
inline constexpr int kBannerStepPixels = 2;

struct TBannerFacts {
    std::string userName;
    std::string testName; // the test's name line as stored, quotes included
    TTime startTime;
    TDate startDate;
    int minutesAllowed = 0;
    std::string questionCount; // header lines as stored
    std::string maxPoints;
};

// "***     Użytkownik … przystąpił do egzaminu … o godzinie <long time> dnia
// <short date>. Przewidywany czas egzaminu …min. Liczba pytań …. Maksymalna
// liczba punktów …"
std::string BuildHeaderText(const TBannerFacts& facts, const IRegionalSettings& regional);

// The same text with the start time and date already formatted; the results
// log's reader puts a line back together with it.
std::string HeaderText(const std::string& userName, const std::string& testName,
                       const std::string& startTime, const std::string& startDate,
                       int minutesAllowed, const std::string& questionCount,
                       const std::string& maxPoints);

// Puts the same text on both labels, the first at the left edge and the second
// just past the right edge of the strip.
void PlaceBanner(TControl& naglowek1, TControl& naglowek2, const std::string& text,
                 const ITextMeasure& measure);

// One step of the marquee: both copies 2 px to the left; a copy whose right
// end has passed x = 550 puts the other 20 px behind it. Positions may go far
// negative.
void StepBanner(TControl& naglowek1, TControl& naglowek2);

} // namespace kwizmar
