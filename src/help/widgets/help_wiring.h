#pragma once
// Where the help windows open: a right click's quick help, F1, the main
// window's Help button, the tray and the first run.
namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

class Edit;

void BindHelp(ProgramState& ps, Edit& edit);

}  // namespace pellion::ui
