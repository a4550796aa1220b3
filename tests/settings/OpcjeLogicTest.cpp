#include "OpcjeLogic.h"

#include "LockdownRecorder.h"
#include "MemoryRegistry.h"
#include "ScrollingCaption.h"
#include "Settings.h"

#include <gtest/gtest.h>

using namespace kwizmar;

namespace {

struct TOptions {
    explicit TOptions(IRegistry& registry) : states(registry) {
        states.AttachCaption(&caption);
        states.AttachLockdown(&lockdown);
    }
    TScrollingCaption caption;
    TLockdownRecorder lockdown;
    TOptionStates states;
    TOpcjeLogic logic{states};
};

// Each test starts on a registry of its own with nothing stored.
class Opcje : public ::testing::Test {
protected:
    std::string Stored(const std::string& name) {
        auto key = registry.OpenKey(TRegistryRoot::CurrentUser, kSettingsKey, false);
        if (!key || !key->ValueExists(name))
            return "<none>";
        return std::to_string(key->ReadInteger(name));
    }

    kwizmar::testing::TMemoryRegistry registry;
};

} // namespace

TEST_F(Opcje, StartsAsTheFormWithTheRadioButtonsDisabled) {
    TOptions o(registry);
    const TOpcjeView v = o.logic.view();
    EXPECT_FALSE(v["CheckBox108"].checked);
    EXPECT_TRUE(v["RadioButton34"].checked);
    EXPECT_FALSE(v["RadioButton34"].enabled);
    EXPECT_FALSE(v["RadioButton35"].checked);
    EXPECT_FALSE(v["RadioButton35"].enabled);
    for (const TOptionControl& c : {v["CheckBox1"], v["CheckBox2"], v["CheckBox3"], v["CheckBox4"]})
        EXPECT_FALSE(c.checked);
}

TEST_F(Opcje, ScrollingKeepsTheRadioChoiceWhileOffAndRadioButtonsActOnlyWhenChosen) {
    TOptions o(registry);
    o.logic.Click("CheckBox108");
    EXPECT_TRUE(o.caption.Enabled());
    EXPECT_EQ(Stored("Scroll"), "1");
    o.logic.Click("RadioButton34"); // already the chosen one
    EXPECT_EQ(Stored("PZadan"), "<none>");
    o.logic.Click("RadioButton35");
    EXPECT_TRUE(o.caption.IsMainWindow);
    EXPECT_EQ(Stored("PZadan"), "1");

    o.logic.Click("CheckBox108");
    TOpcjeView v = o.logic.view();
    EXPECT_FALSE(o.caption.Enabled());
    EXPECT_EQ(Stored("Scroll"), "0");
    EXPECT_FALSE(v["RadioButton35"].enabled);
    EXPECT_TRUE(v["RadioButton35"].checked);
    EXPECT_FALSE(v["RadioButton34"].checked);

    o.logic.Click("CheckBox108");
    v = o.logic.view();
    EXPECT_TRUE(v["RadioButton35"].enabled && v["RadioButton35"].checked);
    EXPECT_TRUE(v["RadioButton34"].enabled && !v["RadioButton34"].checked);
    o.logic.Click("RadioButton34");
    EXPECT_FALSE(o.caption.IsMainWindow);
    EXPECT_EQ(Stored("PZadan"), "0");
}

TEST_F(Opcje, StoredOptionsRunTheActionsOfTheControlsThatChange) {
    {
        TOptions first(registry);
        first.logic.Click("CheckBox4");
        first.logic.Click("CheckBox2");
        EXPECT_EQ(Stored("TaskBarEnabled"), "1");
        EXPECT_EQ(Stored("DesktopEnabled"), "<none>");
    }
    TOptions o(registry);
    TSettings settings(registry, "/nonexistent/kwizmar");
    settings.ApplyStoredOptions(o.logic);
    const TOpcjeView v = o.logic.view();
    EXPECT_TRUE(v["CheckBox108"].checked); // missing Scroll: checked, and written
    EXPECT_EQ(Stored("Scroll"), "1");
    EXPECT_TRUE(v["CheckBox2"].checked);
    EXPECT_TRUE(v["CheckBox4"].checked);
    EXPECT_FALSE(v["CheckBox3"].checked);
    EXPECT_EQ(Stored("DesktopEnabled"), "<none>"); // unchanged control: nothing written
    std::vector<std::string> calls;
    for (const TLockdownCall& c : o.lockdown.Calls())
        calls.push_back(c.ToString());
    EXPECT_EQ(calls,
              (std::vector<std::string>{"ShowTaskbar(false)", "EnableTaskbar(false)",
                                        "EnableStartButton(false)", "LockTaskSwitch(true)"}));
}

// The lab's administrator fixes options for every user: the lab's state wins
// over the pupil's stored one, the controls can't change it and say why, and
// the pupil's file is never written for it. A strict exam holds the lockdown
// it started with.
TEST_F(Opcje, TheLabFixesOptionsAndAStrictExamHoldsItsLockdown) {
    {
        TOptions pupil(registry);
        pupil.logic.Click("CheckBox1"); // the pupil's own: statistics unlocked … locked
        pupil.logic.Click("CheckBox1"); // … and unlocked again
    }
    auto lab = registry.OpenKey(TRegistryRoot::LocalMachine, kLabKey, true);
    lab->WriteInteger("Statystyki", 1);
    lab->WriteInteger("DesktopEnabled", 1);
    lab->WriteInteger("ShuffleAnswers", 1);
    TOptions o(registry);
    TSettings(registry, "/nonexistent/kwizmar").ApplyStoredOptions(o.logic);
    TOpcjeView v = o.logic.view();
    for (const char* name : {"CheckBox1", "CheckBox3", "CheckBox6"}) {
        EXPECT_TRUE(v[name].checked && v[name].fixed && !v[name].enabled) << name;
        o.logic.Click(name);
    }
    EXPECT_TRUE(o.states.Get(TOption::Statystyki) && o.states.Get(TOption::DesktopEnabled) &&
                o.states.Get(TOption::ShuffleAnswers));
    EXPECT_EQ(Stored("Statystyki"), "0");
    EXPECT_EQ(Stored("DesktopEnabled"), "<none>");
    EXPECT_EQ(o.logic.view().note, "Opcje wyszarzone ustalił administrator pracowni.");

    o.logic.Click("CheckBox4"); // the pupil's own lockdown of the taskbar
    o.states.HoldLockdown(true);
    o.logic.Click("CheckBox4");
    v = o.logic.view();
    EXPECT_TRUE(v["CheckBox4"].checked && !v["CheckBox4"].enabled);
    EXPECT_EQ(v.note, "Opcje wyszarzone ustalił administrator pracowni. Blokady pulpitu i "
                      "paska zadań nie można zdjąć w trakcie egzaminu.");
    o.states.HoldLockdown(false);
    o.logic.Click("CheckBox4");
    EXPECT_FALSE(o.states.Get(TOption::TaskBarEnabled));
}
