// Selecting a group and the Launch Pad button: the rules that change which
// lists the window shows.
#include "app/program_state.h"
#include "store/index_files.h"
#include "store/libraries.h"
#include "store/slot_files.h"
#include "ui/logic/form_internal.h"
#include "ui/logic/list_cells.h"

namespace pellion::ui {

using detail::Ask;
using detail::Call;

void SelectGroup(ProgramState& ps, int group) {
    SettingsRecord& s = ps.settings;
    const int old = s.CurrentGroup;
    // The old cell goes back to its stored colour, as the file has it now.
    if (old >= 0 && old < kGroups)
        ps.lists.groupNames.colours[old] = ReadColourAt(FileIn(ps.libraryFolder, "groups.clr"), old);
    s.CurrentGroup = static_cast<std::int16_t>(group);
    detail::SaveSettings(ps);
    FillHotKeyLabels(ps);
    ComputeGroupStem(ps);
    LoadCurrentGroup(ps);
    ShowLists(ps);
    RefreshModeButtons(ps);  // the group's own paste mode
}

void Group_Click(ProgramState& ps, int index, MouseButton button) {
    if (index < 0 || index >= kGroups) return;
    MainForm& m = ps.mainForm;
    if (Ask(m.hooks.viewerTakesPasting)) return;
    detail::FocusHoldfocus(ps);
    Call(m.hooks.disarmGroupDrag);
    const bool right = button == MouseButton::Right;
    if (index == kHotKeyGroup) {
        if (ps.settings.CurrentLibrary == kLaunchPad) return;
        if (right) {
            detail::QuickHelp(ps, 11);
            return;
        }
    }
    if (index != ps.settings.CurrentGroup) SelectGroup(ps, index);
    if (right && m.hooks.groupNaming) m.hooks.groupNaming(index);
}

void LaunchBtn_MouseUp(ProgramState& ps, MouseButton button) {
    if (button == MouseButton::Right) {
        detail::QuickHelp(ps, 36);
        return;
    }
    ToggleLaunchPad(ps);
    detail::W(ps, Family::LibBtn).visible = false;
    detail::SaveSettings(ps);
    ShowLists(ps);
    RefreshModeButtons(ps);
    detail::FocusHoldfocus(ps);
}

}  // namespace pellion::ui
