#pragma once
// Drag and drop on the main window, the clip settings and group naming
// dialogs, and the bulk paste spacing dialog, bound to their rules.
namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

class Edit;

// Start-up, once the window exists: the four lists and the "Bulk" option
// start drags, the lists and the drop labels take drops, and the hooks that
// open the dialogs and show the hourglass are set.
void BindDragAndDrop(ProgramState& ps, Edit& edit);

}  // namespace pellion::ui
