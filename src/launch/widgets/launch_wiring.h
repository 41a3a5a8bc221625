#pragma once
// The Launch Pad on the main window: a shortcut slot clicked starts what it
// names, and the shortcut editor opens on a slot.
namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

class Edit;
void BindLaunchPad(ProgramState& ps, Edit& edit);

}  // namespace pellion::ui
