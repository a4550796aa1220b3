#include "Banner.h"

namespace kwizmar {

const TFontSpec& BannerFont() {
    static const TFontSpec font{"Times New Roman", 16, true};
    return font;
}

std::string BuildHeaderText(const TBannerFacts& f, const IRegionalSettings& regional) {
    return "***     Użytkownik " + f.userName + " przystąpił do egzaminu " + f.testName +
           " o godzinie " + FormatTime(f.startTime, regional.LongTimeFormat()) + " dnia " +
           FormatDate(f.startDate, regional.ShortDateFormat()) + ". Przewidywany czas egzaminu " +
           std::to_string(f.minutesAllowed) + "min. Liczba pytań " + f.questionCount +
           ". Maksymalna liczba punktów " + f.maxPoints;
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
