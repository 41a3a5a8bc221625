#pragma once
// The paste engine, the hot keys and the window's keys bound to the main
// window: the paste timer, the hourglass, the cells' clicks, key preview and
// the "HotKeys Off" check box.
namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

class Edit;

// Call once the window exists, before start-up arms the keyboard hook.
void BindPasteServices(ProgramState& ps, Edit& edit);

}  // namespace pellion::ui
