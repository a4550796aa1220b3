#include "Control.h"

#include <algorithm>

namespace kwizmar {

void Show(TControl& c, bool enabled) {
    c.visible = true;
    c.enabled = enabled;
}

void Hide(TControl& c) {
    c.visible = false;
    c.enabled = false;
}

void TGauge::SetMaxValue(std::int64_t value) {
    maxValue = value;
    SetProgress(progress);
}

void TGauge::SetProgress(std::int64_t value) {
    // A range turned upside down (a negative maximum) pins the gauge at its minimum.
    progress = maxValue < minValue ? minValue : std::clamp(value, minValue, maxValue);
}

int TGauge::PercentDone() const {
    if (maxValue <= minValue)
        return 0;
    return static_cast<int>((progress - minValue) * 100 / (maxValue - minValue));
}

} // namespace kwizmar
