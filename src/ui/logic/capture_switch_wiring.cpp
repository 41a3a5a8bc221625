// The one place where the switches meet the capture rules.
#include "ui/logic/capture_switch_wiring.h"

namespace pellion::ui {

bool IsCaptureSwitch(WidgetRef w) {
    switch (w.family) {
    case Family::ClearBtn:
    case Family::CaptureMode:
    case Family::TextOnlyBtn:
    case Family::ClipMode:
    case Family::GroupMode: return true;
    default: return false;
    }
}

// Not connected yet: the rules of these switches (ClearButtonClick,
// CaptureModeClick, TextOnlyClick, ClipModeClick, GroupModeClick of
// capture/capture_modes.h) are called from here once they exist.
bool CaptureSwitchClick(ProgramState&, WidgetRef) { return false; }

}  // namespace pellion::ui
