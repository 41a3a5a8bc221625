// The one place where the switches meet the capture rules.
#include "ui/logic/capture_switch_wiring.h"

#include "capture/capture_modes.h"

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

bool CaptureSwitchClick(ProgramState& ps, WidgetRef w) {
    switch (w.family) {
    case Family::ClearBtn: ClearButtonClick(ps); return true;
    case Family::CaptureMode: CaptureModeClick(ps, w.index); return true;
    case Family::TextOnlyBtn: TextOnlyClick(ps); return true;
    case Family::ClipMode: ClipModeClick(ps, w.index); return true;
    case Family::GroupMode: GroupModeClick(ps, w.index); return true;
    default: return false;
    }
}

}  // namespace pellion::ui
