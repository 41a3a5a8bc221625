#pragma once
// The Options dialog opened from the main window's Options button (or the
// tray), and opened again after a new window size re-laid the window.
namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

class Edit;

void OpenOptions(ProgramState& ps, Edit& edit);
void BindOptionsButton(ProgramState& ps, Edit& edit);

}  // namespace pellion::ui
