// Mouse events on the widgets, sent to the rules that own them.
#include "ui/logic/capture_switch_wiring.h"
#include "ui/logic/form_internal.h"
#include "ui/logic/list_cells.h"

namespace pellion::ui {

namespace {

// The paste modes act on the press, the other switches on the click.
MouseAction SwitchAction(WidgetRef w) {
    return w.family == Family::ClipMode || w.family == Family::GroupMode ? MouseAction::Press : MouseAction::Release;
}

void CaptureSwitchMouse(ProgramState& ps, WidgetRef w, MouseAction action, MouseButton button) {
    if (button == MouseButton::None) return;
    // "Text Only" toggles on any click but the right one; the others ask
    // for help on any button but the left.
    const bool helpButton = w.family == Family::TextOnlyBtn ? button == MouseButton::Right : button != MouseButton::Left;
    if (helpButton) {
        if (action == MouseAction::Release) QuickHelpClick(ps, w);
    } else if (action == SwitchAction(w) && CaptureSwitchClick(ps, w)) {
        ShowLists(ps);
        RefreshModeButtons(ps);
    }
}

}  // namespace

bool WidgetMouse(ProgramState& ps, WidgetRef w, MouseAction action, MouseButton button) {
    const bool release = action == MouseAction::Release;
    switch (w.family) {
    case Family::TopBtn:
        if (action == MouseAction::Press) TopBtn_MouseDown(ps, w.index, button);
        return true;
    case Family::SizerBtn:
        // A left click comes as the button's click.
        if (release) SizerBtn_MouseUp(ps, w.index, button);
        return false;
    case Family::Group:
        if (release) Group_Click(ps, w.index, button);
        return false;
    case Family::LaunchBtn:
        if (release) LaunchBtn_MouseUp(ps, button);
        return false;
    case Family::LibLabel:
        if (action == MouseAction::Move) LibLabel_MouseMove(ps);
        break;
    default: break;
    }
    if (IsCaptureSwitch(w)) {
        CaptureSwitchMouse(ps, w, action, button);
        return false;
    }
    if (release && button == MouseButton::Right) QuickHelpClick(ps, w);
    return false;
}

void QuickHelpClick(ProgramState& ps, WidgetRef w) {
    std::optional<int> topic = QuickHelpTopic(ps, w);
    if (!topic && w == WidgetRef{Family::CaptureMode, 0}) topic = ps.mainForm.quickHelpTopic;
    if (topic) detail::QuickHelp(ps, *topic);
}

}  // namespace pellion::ui
