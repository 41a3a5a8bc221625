// The life of a drag before its drop: armed by a press, started by a move
// past the threshold, and the drop targets it shows meanwhile.
#include <cstdlib>

#include "app/program_state.h"
#include "store/libraries.h"
#include "ui/logic/drop_matrix.h"
#include "ui/logic/form_internal.h"

namespace pellion::ui {

namespace {

bool Blank(const std::string& title) { return title.find_first_not_of(' ') == std::string::npos; }

bool ViewerOpen(const ProgramState& ps) {
    return ps.clip.viewerOpen || detail::Ask(ps.mainForm.hooks.viewerOpen);
}

void ShowFamily(ProgramState& ps, Family f, bool visible) {
    for (int i = 0; i < FamilySize(f); ++i) detail::W(ps, f, i).visible = visible;
}

}  // namespace

bool DragThresholdReached(int pressX, int pressY, int x, int y) {
    return std::abs(x - pressX) >= kDragStartTwips || std::abs(y - pressY) >= kDragStartTwips;
}

bool CanDrag(const ProgramState& ps, DragItem item) {
    const ListModel& l = ps.lists;
    const int i = item.index;
    switch (item.source) {
    case DragSource::Temp:
        return i >= 0 && i < kClipSlots && i < l.clipboardClips.count && !Blank(l.clipboardClips.titles[i]);
    case DragSource::Alt: return i >= 0 && i < kGroupSlots && !Blank(l.groupClips.titles[i]);
    case DragSource::Trans: return i >= 0 && i < kTransferSlots && !Blank(l.transferSlots.titles[i]);
    case DragSource::Group: return i >= 0 && i < kGroups && !Blank(l.groupNames.titles[i]);
    case DragSource::Bulk: return ps.settings.BulkCount >= 1;
    }
    return false;
}

void ArmDrag(ProgramState& ps, DragItem item, MouseButton button, int x, int y) {
    DragState& d = ps.drag;
    if (!CanDrag(ps, item)) {
        DisarmDrag(ps);
        return;
    }
    d.armed = item;
    d.armedButton = button;
    d.pressX = x;
    d.pressY = y;
}

void DisarmDrag(ProgramState& ps) {
    ps.drag.armed.reset();
    ps.drag.armedButton = MouseButton::None;
}

std::optional<ActiveDrag> DragMouseMove(ProgramState& ps, int x, int y, std::optional<int> highlightPosition) {
    DragState& d = ps.drag;
    if (!d.armed) {
        HideDropTargets(ps);
        if (highlightPosition && ps.settings.StickyOption == 1 && !ViewerOpen(ps)) MoveHighlight(ps, *highlightPosition);
        return std::nullopt;
    }
    if (!DragThresholdReached(d.pressX, d.pressY, x, y)) return std::nullopt;
    ActiveDrag drag;
    drag.item = *d.armed;
    // Clipboard Clips and the cache are never moved out of their list.
    const bool alwaysCopy = drag.item.source == DragSource::Temp || drag.item.source == DragSource::Bulk;
    drag.copy = alwaysCopy || d.armedButton != MouseButton::Left;
    if (drag.item.source == DragSource::Alt) {
        drag.sourceGroup = ps.lists.groupClips.group;
        drag.sourceLibrary = ps.libraryFolder;
    }
    DisarmDrag(ps);
    d.active = drag;
    ShowDropTargets(ps, drag.item.source);
    return drag;
}

void ShowDropTargets(ProgramState& ps, DragSource source) {
    const bool cache = source == DragSource::Bulk;
    detail::W(ps, Family::BulkDropPicture).visible = !cache;
    ShowFamily(ps, Family::BulkDrop, !cache);
    detail::W(ps, Family::BulkPaste).visible = cache;
    ShowFamily(ps, Family::BulkPastelabel, cache);
    ShowFamily(ps, Family::TrashLabel, source != DragSource::Temp);
}

void HideDropTargets(ProgramState& ps) {
    for (Family f : {Family::BulkDropPicture, Family::BulkDrop, Family::BulkPaste, Family::BulkPastelabel,
                     Family::TrashLabel, Family::LibBtn})
        ShowFamily(ps, f, false);
}

std::optional<int> GroupToSelectOnDragOver(const ProgramState& ps, int group) {
    const auto& active = ps.drag.active;
    if (!active || group < 0 || group >= kGroups || group == ps.settings.CurrentGroup) return std::nullopt;
    const DragSource s = active->item.source;
    if (s == DragSource::Group || s == DragSource::Bulk) return std::nullopt;
    // A click on "Hot Key Clips" does nothing in the Launch Pad.
    if (group == kHotKeyGroup && ps.settings.CurrentLibrary == kLaunchPad) return std::nullopt;
    return group;
}

void CancelDrag(ProgramState& ps) {
    ps.drag.active.reset();
    DisarmDrag(ps);
    HideDropTargets(ps);
}

}  // namespace pellion::ui
