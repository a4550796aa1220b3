#pragma once

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
};

// A control that starts hidden and disabled.
inline TControl Hidden() {
    TControl c;
    c.visible = false;
    c.enabled = false;
    return c;
}

} // namespace kwizmar
