#pragma once
// Drag and drop between the lists of the main window, as rules over the
// list model: arming a drag on a press, starting it on a move, the drop
// targets it shows, and what a drop onto each target does for each kind of
// dragged item. The widgets carry the gestures and call these.
#include <optional>
#include <string>

#include "ui/logic/form_design.h"

namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

// What is dragged, by the tag its list's cells carry: "temp" a Clipboard
// Clip, "alt" a group clip, "trans" a Transfer Slot, "group" a group name,
// "bulk" the bulk cache (index unused).
enum class DragSource { Temp, Alt, Trans, Group, Bulk };

struct DragItem {
    DragSource source = DragSource::Temp;
    int index = 0;
    bool operator==(const DragItem&) const = default;
};

enum class DropTarget { GroupClip, TransferSlot, GroupName, Trash, BulkCacheArea, BulkPasteArea };

struct DropOn {
    DropTarget target = DropTarget::Trash;
    int index = 0;  // the slot or group; unused for the trash and the bulk areas
};

// A drag that has started: move or copy is fixed from then on.
struct ActiveDrag {
    DragItem item;
    bool copy = true;
    int sourceGroup = -1;       // "alt": the group shown when the drag began
    std::string sourceLibrary;  // "alt": that group's library folder
};

struct DragState {
    std::optional<DragItem> armed;
    MouseButton armedButton = MouseButton::None;
    int pressX = 0, pressY = 0;  // twips
    std::optional<ActiveDrag> active;
};

// A move of at least this many twips from the press, either way, starts a drag.
inline constexpr int kDragStartTwips = 20;
bool DragThresholdReached(int pressX, int pressY, int x, int y);

// Only an item with a title (or a bulk cache holding clips) can be dragged.
bool CanDrag(const ProgramState& ps, DragItem item);
// A mouse press on an item: armed when it can be dragged.
void ArmDrag(ProgramState& ps, DragItem item, MouseButton button, int x, int y);
// Mouse-up and clicks.
void DisarmDrag(ProgramState& ps);

// A mouse move. While armed, a move past the threshold starts the drag:
// the drop targets are shown and the started drag is returned for the
// widget to carry. Without an armed drag the drop targets are hidden and,
// when the highlight follows the mouse, it moves to highlightPosition.
std::optional<ActiveDrag> DragMouseMove(ProgramState& ps, int x, int y,
                                        std::optional<int> highlightPosition = std::nullopt);

// The targets a drag of this source shows: the bulk-cache area for items,
// the bulk paste area for the cache, the trash for all but Clipboard Clips.
void ShowDropTargets(ProgramState& ps, DragSource source);
// Also hides the library's "Change" button.
void HideDropTargets(ProgramState& ps);

// Drag over a group name: the group to select as if it had been clicked
// (the widget runs the group's click), unless a group or the cache is
// dragged or that group is already selected.
std::optional<int> GroupToSelectOnDragOver(const ProgramState& ps, int group);

enum class DropEffect {
    Nothing,           // not a drop the matrix names, or refused
    Done,              // lists changed: show them again
    OpenClipSettings,  // a Clipboard Clip went into a group: ask for its settings
    StartBulkPaste,    // the cache on the bulk paste area: run PasteState's bulkPaste
    OpenShortcutEditor,  // a Clipboard Clip dropped in the Launch Pad: make a shortcut of its text
};

struct DropResult {
    DropEffect effect = DropEffect::Nothing;
    int slot = -1;   // OpenClipSettings: the new clip's slot
    int group = -1;  // and its group
    int clip = -1;   // OpenShortcutEditor: the Clipboard Clip dropped
    bool operator==(const DropResult&) const = default;
};

// Drops the active drag on a target and ends the drag; every drop first
// hides the drop targets. Occupied slots, named groups, the item itself and
// pairs the matrix does not name change nothing.
DropResult Drop(ProgramState& ps, DropOn on);
// The drag ended without a drop.
void CancelDrag(ProgramState& ps);

}  // namespace pellion::ui
