#pragma once
// The clip viewer bound to the main window: a right click on a filled clip
// opens it, and while it is open clicks on clips insert their text into it.
namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

class Edit;

void BindClipViewer(ProgramState& ps, Edit& edit);

}  // namespace pellion::ui
