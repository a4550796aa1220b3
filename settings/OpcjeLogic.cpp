#include "OpcjeLogic.h"

#include <stdexcept>

namespace kwizmar {

const TOptionControl& TOpcjeView::operator[](std::string_view name) const {
    for (const auto& [controlName, control] : controls)
        if (controlName == name)
            return control;
    throw std::out_of_range("no option control " + std::string(name));
}

void TOpcjeLogic::Click(std::string_view name) {
    for (const TOptionSpec& spec : kOptions)
        for (const TOptionWidget& widget : spec.widgets)
            if (widget.name && widget.name == name) {
                states_.SetOption(spec.option, widget.radio ? widget.side : !Get(spec.option));
                return;
            }
}

TOpcjeView TOpcjeLogic::view() const {
    TOpcjeView v;
    const bool scrolling = Get(TOption::Scroll);
    bool anyFixed = false, anyHeld = false;
    for (const TOptionSpec& spec : kOptions) {
        const bool fixed = states_.Fixed(spec.option).has_value();
        const bool held = !fixed && states_.Locked(spec.option);
        anyFixed |= fixed;
        anyHeld |= held;
        for (const TOptionWidget& widget : spec.widgets)
            if (widget.name) {
                const bool state = Get(spec.option);
                v.controls.emplace_back(
                    widget.name,
                    TOptionControl{widget.radio ? state == widget.side : state,
                                   (!spec.needsScrolling || scrolling) && !fixed && !held, fixed});
            }
    }
    if (anyFixed)
        v.note = "Opcje wyszarzone ustalił administrator pracowni.";
    if (anyHeld)
        v.note += std::string(v.note.empty() ? "" : " ") +
                  "Blokady pulpitu i paska zadań nie można zdjąć w trakcie egzaminu.";
    return v;
}

} // namespace kwizmar
