#include "Banner.h"

namespace kwizmar {

const TFontSpec& BannerFont() {
    static const TFontSpec font{"Times New Roman", 16, true};
    return font;
}

std::string BuildHeaderText(const TBannerFacts& f, const IRegionalSettings& regional) {
    return HeaderText(f.userName, f.testName, FormatTime(f.startTime, regional.LongTimeFormat()),
                      FormatDate(f.startDate, regional.ShortDateFormat()), f.minutesAllowed,
                      f.questionCount, f.maxPoints);
}

std::string HeaderText(const std::string& userName, const std::string& testName,
                       const std::string& startTime, const std::string& startDate,
                       int minutesAllowed, const std::string& questionCount,
                       const std::string& maxPoints) {
    return "***     Użytkownik " + userName + " przystąpił do egzaminu " + testName +
           " o godzinie " + startTime + " dnia " + startDate + ". Przewidywany czas egzaminu " +
           std::to_string(minutesAllowed) + "min. Liczba pytań " + questionCount +
           ". Maksymalna liczba punktów " + maxPoints;
}

void PlaceBanner(TControl& naglowek1, TControl& naglowek2, const std::string& text,
                 const ITextMeasure& measure) {
    const int width = measure.TextWidth(text, BannerFont());
    for (TControl* label : {&naglowek1, &naglowek2}) {
        label->text = text;
        label->width = width;
    }
    naglowek1.x = 0;
    naglowek2.x = kExamPageWidth + naglowek1.width;
}

void StepBanner(TControl& naglowek1, TControl& naglowek2) {
    naglowek1.x -= kBannerStepPixels;
    naglowek2.x -= kBannerStepPixels;
    if (naglowek1.x + naglowek1.width < kBannerSwapX)
        naglowek2.x = naglowek1.x + naglowek1.width + kBannerGap;
    if (naglowek2.x + naglowek2.width < kBannerSwapX)
        naglowek1.x = naglowek2.x + naglowek2.width + kBannerGap;
}

} // namespace kwizmar
