#pragma once
// A program state over the fake platform for the main window's rules, with
// the settings saves and quick-help topics recorded.
#include <gtest/gtest.h>

#include <vector>

#include "app/program_state.h"
#include "platform/fake/fake_platform.h"
#include "ui/logic/main_form.h"

namespace pellion::test {

class MainFormTest : public ::testing::Test {
protected:
    MainFormTest() : ps(fake.platform) {
        ps.mainWindow = fake.windows->add(" Pellion Clipboard", true);
        ps.mainForm.hooks.saveSettings = [this] { ++saves; };
        ps.mainForm.hooks.quickHelp = [this](int topic) { topics.push_back(topic); };
    }

    ui::FormState& form() { return ps.mainForm.form; }
    ui::FormWindow& window() { return ps.mainForm.form.window; }
    ui::WidgetState& w(ui::Family f, int i = 0) { return ps.mainForm.form[{f, i}]; }
    bool shown(ui::Family f, int i = 0) { return form().isShown({f, i}); }
    int shownCount(ui::Family f) {
        int n = 0;
        for (int i = 0; i < ui::FamilySize(f); ++i) n += shown(f, i);
        return n;
    }

    platform::fake::FakePlatform fake;
    ProgramState ps;
    int saves = 0;
    std::vector<int> topics;
};

}  // namespace pellion::test
