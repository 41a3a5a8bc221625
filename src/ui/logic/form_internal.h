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

inline void FocusHoldfocus(ProgramState& ps) { ps.mainForm.form.window.focusRequest = FocusRequest::Holdfocus; }

// Kept for the quick-help window, which opens on it.
inline void QuickHelp(ProgramState& ps, int topic) {
    ps.mainForm.quickHelpTopic = topic;
    if (ps.mainForm.hooks.quickHelp) ps.mainForm.hooks.quickHelp(topic);
}

// The second and third Group Clips columns of the "Hot Key Clips" group end
// at row 22; row 23 belongs to the Large window only.
void ApplyHotKeyGroupRows(ProgramState& ps);

}  // namespace pellion::ui::detail
