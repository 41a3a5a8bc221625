#pragma once
// A program state over the fake platform for the main window's rules.
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
};

}  // namespace pellion::test
