#pragma once
// Small helpers shared by the main window's rule files.
#include <functional>

#include "app/program_state.h"
#include "ui/logic/main_form.h"

namespace pellion::ui::detail {

inline void Call(const std::function<void()>& hook) {
    if (hook) hook();
}

inline bool Ask(const std::function<bool()>& hook) { return hook && hook(); }

inline void SaveSettings(ProgramState& ps) { Call(ps.mainForm.hooks.saveSettings); }

inline WidgetState& W(ProgramState& ps, Family f, int index = 0) { return ps.mainForm.form[{f, index}]; }

inline bool IsLarge(const ProgramState& ps) { return ps.settings.SizeOption == 1; }

}  // namespace pellion::ui::detail
