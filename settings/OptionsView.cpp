#include "OptionsView.h"

namespace kwizmar {

TOpcjeView TOpcjeLogic::view() const {
    TOpcjeView v;
    const bool scroll = Get(TOption::Scroll);
    v.CheckBox108.checked = scroll;
    v.RadioButton34 = {!Get(TOption::PZadan), scroll};
    v.RadioButton35 = {Get(TOption::PZadan), scroll};
    v.CheckBox1.checked = Get(TOption::Statystyki);
    v.CheckBox2.checked = Get(TOption::Odp);
    v.CheckBox3.checked = Get(TOption::DesktopEnabled);
    v.CheckBox4.checked = Get(TOption::TaskBarEnabled);
    return v;
}

} // namespace kwizmar
