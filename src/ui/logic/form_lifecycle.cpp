// The window at the end of start-up and when it closes.
#include "ui/logic/form_internal.h"

namespace pellion::ui {

void ShowAtStartup(ProgramState& ps) {
    StartInRememberedLayout(ps);
    RefreshModeButtons(ps);
    FormWindow& window = ps.mainForm.form.window;
    // A reduced window stays up on top instead of minimising.
    if (ps.settings.OnTop == 0) window.show = WindowShow::Minimised;
    window.shown = true;
}

void ShowFirstRunNormally(ProgramState& ps) {
    if (ps.settings.HelpShown == 0) ps.mainForm.form.window.show = WindowShow::Normal;
}

void QueryUnload(ProgramState& ps) {
    RestoreHighlightedCell(ps);
    detail::SaveSettings(ps);
}

}  // namespace pellion::ui
