#pragma once

#include <cstdint>
#include <string>

namespace kwizmar {

// The state of one control as the program's rules see it. Window models are
// plain structs of these, one member per control, named after the control; the
// Qt windows copy them onto their widgets.
struct TControl {
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    std::string text;
    int x = 0;
    int y = 0;
    // Only where a rule needs it (the banner labels are as wide as their text).
    int width = 0;
};

// Shows a control, enabled or not; hides and disables one.
void Show(TControl& c, bool enabled = true);
void Hide(TControl& c);

// A control that starts hidden and disabled.
inline TControl Hidden() {
    TControl c;
    c.visible = false;
    c.enabled = false;
    return c;
}

// A progress gauge. Like the gauges the window draws, it keeps its progress
// within minValue … maxValue and shows it as a percentage of the range.
struct TGauge : TControl {
    std::int64_t minValue = 0;
    std::int64_t maxValue = 100;
    std::int64_t progress = 0;

    void SetMaxValue(std::int64_t value);
    void SetProgress(std::int64_t value);
    // Whole percent of the range that the progress covers; 0 for an empty range.
    int PercentDone() const;
};

} // namespace kwizmar
