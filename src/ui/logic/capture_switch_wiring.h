#pragma once
// The switches of capture and paste on the main window: "Clear", the
// capture-mode options, "Text Only" and the two paste-mode option groups.
#include "ui/logic/form_design.h"

namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

bool IsCaptureSwitch(WidgetRef widget);

// A left click on one of the switches (a left press for the paste modes).
// True when a rule ran, so the window shows the lists and buttons again.
bool CaptureSwitchClick(ProgramState& ps, WidgetRef widget);

}  // namespace pellion::ui
