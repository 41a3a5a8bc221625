// What a drop does, by target and by the kind of item dragged. Every change
// goes through whole slot files and the index entries of the lists.
#include "ui/logic/drop_matrix.h"

#include "app/program_state.h"
#include "app/settings_file.h"
#include "launch/shortcut_editor.h"
#include "paste/hot_keys.h"
#include "store/group_files.h"
#include "store/index_files.h"
#include "store/libraries.h"
#include "store/slot_files.h"

namespace pellion::ui {

namespace {

constexpr const char* kUnnamedGroupTitle = "Right click to enter title";
constexpr const char* kBulkGroupTitle = "Bulk Captures";

bool Blank(const std::string& title) { return title.find_first_not_of(' ') == std::string::npos; }

// The hourglass while files are copied.
class Hourglass {
public:
    explicit Hourglass(ProgramState& ps) : hook_(ps.paste.hooks.busyPointer) {
        if (hook_) hook_(true);
    }
    ~Hourglass() {
        if (hook_) hook_(false);
    }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    const std::function<void(bool)>& hook_;
};

constexpr DropResult kNothing{};
constexpr DropResult kDone{DropEffect::Done};

SlotRef SourceSlot(const ActiveDrag& d) {
    switch (d.item.source) {
    case DragSource::Temp: return {ListKind::ClipboardClips, d.item.index};
    case DragSource::Alt: return {ListKind::GroupClips, d.item.index, d.sourceGroup, d.sourceLibrary};
    case DragSource::Trans: return {ListKind::TransferSlots, d.item.index};
    case DragSource::Group:
    case DragSource::Bulk: break;
    }
    return {ListKind::GroupNames, -1};
}

bool HoldsClip(const ProgramState& ps, int transferSlot) {
    return ps.lists.transferSlots.states[transferSlot] == kSlotHoldsClip;
}

bool HoldsGroupReference(const ProgramState& ps, int transferSlot) {
    const auto& t = ps.lists.transferSlots;
    return t.states[transferSlot] >= 0 && t.states[transferSlot] < kGroups && !t.referenceFolders[transferSlot].empty();
}

// Clipboard Clips and the cache are copied whatever the button.
bool IsMove(const ActiveDrag& d) {
    return !d.copy && d.item.source != DragSource::Temp && d.item.source != DragSource::Bulk;
}

// The dragged item still holds something: a hot key or the viewer may have
// emptied it meanwhile, and a group clip's group may no longer be shown.
bool SourceStillFilled(const ProgramState& ps, const ActiveDrag& d) {
    if (d.item.source != DragSource::Alt) return CanDrag(ps, d.item);
    if (d.sourceGroup < 0) return false;
    const auto entry = ReadSlotEntry(ps, SourceSlot(d));
    return entry && !Blank(entry->title);
}

// A move out of "Hot Key Clips" takes the letter's hot key away.
void UnwatchMovedHotKey(ProgramState& ps, const ActiveDrag& d) {
    if (IsMove(d) && d.item.source == DragSource::Alt && d.sourceGroup == kHotKeyGroup)
        WatchHotKeyLetter(ps, d.item.index, false);
}

// A clip (never a group reference) into an empty slot, moved or copied.
bool CarryClip(ProgramState& ps, const ActiveDrag& d, const SlotRef& to) {
    Hourglass busy(ps);
    const SlotRef from = SourceSlot(d);
    const bool ok = IsMove(d) ? MoveClipToSlot(ps, from, to) : CopyClipToSlot(ps, from, to);
    if (ok) UnwatchMovedHotKey(ps, d);
    return ok;
}

void MakeGroupCurrent(ProgramState& ps, int group) {
    ps.settings.CurrentGroup = std::int16_t(group);
    ComputeGroupStem(ps);
    FillHotKeyLabels(ps);
    LoadCurrentGroup(ps);
    SaveSettings(ps);
}

DropResult OnGroupClip(ProgramState& ps, const ActiveDrag& d, int n) {
    auto& clips = ps.lists.groupClips;
    const int g = clips.group;
    if (g < 0 || n < 0 || n >= kGroupSlots || !Blank(clips.titles[n])) return kNothing;
    switch (d.item.source) {
    case DragSource::Temp: break;
    case DragSource::Trans:
        if (!HoldsClip(ps, d.item.index)) return kNothing;
        break;
    case DragSource::Alt: break;
    case DragSource::Group:
    case DragSource::Bulk: return kNothing;
    }
    if (Blank(ps.lists.groupNames.titles[g])) {
        ps.lists.groupNames.titles[g] = kUnnamedGroupTitle;
        SaveGroupNames(ps);
    }
    if (d.item.source == DragSource::Temp && ps.settings.CurrentLibrary == kLaunchPad) {
        // The clip goes onto the clipboard and the editor makes a shortcut
        // of it; the main window stays up for the editor.
        RestoreClipFile(ps, SlotPath(ps, SourceSlot(d)));
        FollowUpRestore(ps, n + kCreateShortcutSlot);
        return {DropEffect::OpenShortcutEditor, n, g, d.item.index};
    }
    if (!CarryClip(ps, d, {ListKind::GroupClips, n})) return kDone;
    if (g == kHotKeyGroup) WatchHotKeyLetter(ps, n, true);
    if (d.item.source == DragSource::Temp) return {DropEffect::OpenClipSettings, n, g};
    return kDone;
}

// A group reference goes along as it is: no file of its own to copy.
DropResult CarryGroupReference(ProgramState& ps, const ActiveDrag& d, int n) {
    auto& t = ps.lists.transferSlots;
    const int s = d.item.index;
    t.states[n] = t.states[s];
    t.referenceFolders[n] = t.referenceFolders[s];
    t.titles[n] = t.titles[s];
    if (IsMove(d)) {
        t.states[s] = kSlotHoldsClip;
        t.referenceFolders[s].clear();
        t.titles[s].clear();
        t.modes[s] = kModeGroupSetting;
        t.colours[s] = 0;
    }
    SaveTransferSlots(ps);
    return kDone;
}

DropResult OnTransferSlot(ProgramState& ps, const ActiveDrag& d, int n) {
    if (n < 0 || n >= kTransferSlots || !Blank(ps.lists.transferSlots.titles[n])) return kNothing;
    switch (d.item.source) {
    case DragSource::Temp:
    case DragSource::Alt:
        CarryClip(ps, d, {ListKind::TransferSlots, n});
        return kDone;
    case DragSource::Trans:
        if (d.item.index == n) return kNothing;
        if (HoldsGroupReference(ps, d.item.index)) return CarryGroupReference(ps, d, n);
        if (!HoldsClip(ps, d.item.index)) return kNothing;
        CarryClip(ps, d, {ListKind::TransferSlots, n});
        return kDone;
    case DragSource::Group:
        return StoreGroupReference(ps, n, d.item.index) ? kDone : kNothing;
    case DragSource::Bulk: break;
    }
    return kNothing;
}

// Group s of the current library onto the empty group t.
DropResult GroupOntoGroup(ProgramState& ps, const ActiveDrag& d, int t) {
    const int s = d.item.index;
    auto& names = ps.lists.groupNames;
    if (s == kHotKeyGroup || s == t || Blank(names.titles[s])) return kNothing;
    Hourglass busy(ps);
    // A copy that cannot finish (a full disk) changes nothing.
    if (!CopyGroupFiles(ps, s, {}, t)) return kNothing;
    names.titles[t] = names.titles[s];
    names.colours[t] = names.colours[s];
    // The source goes only once its copy is whole and named.
    if (SaveGroupNames(ps) && IsMove(d)) {
        DeleteGroupFiles(ps, s);
        names.titles[s].clear();
        names.colours[s] = 0;
        SaveGroupNames(ps);
    }
    SaveGroupColours(ps);
    MakeGroupCurrent(ps, t);
    return kDone;
}

// The group a Transfer Slot refers to, possibly in another library.
DropResult ReferenceOntoGroup(ProgramState& ps, int slot, int t) {
    if (!HoldsGroupReference(ps, slot)) return kNothing;
    const auto& ref = ps.lists.transferSlots;
    const int g = ref.states[slot];
    const std::string folder = ref.referenceFolders[slot];
    if (g == t && GroupFolder(ps, g, folder) == GroupFolder(ps, t)) return kNothing;
    Hourglass busy(ps);
    if (!CopyGroupFiles(ps, g, folder, t)) return kNothing;
    auto& names = ps.lists.groupNames;
    names.titles[t] = ref.titles[slot];
    names.colours[t] = ReadColourAt(FileIn(folder, "groups.clr"), g);
    SaveGroupNames(ps);
    SaveGroupColours(ps);
    MakeGroupCurrent(ps, t);
    return kDone;
}

DropResult OnGroupName(ProgramState& ps, const ActiveDrag& d, int t) {
    // The hot key group keeps its name; it never takes in another group.
    if (t < 0 || t >= kGroups || t == kHotKeyGroup || !Blank(ps.lists.groupNames.titles[t])) return kNothing;
    switch (d.item.source) {
    case DragSource::Trans: return ReferenceOntoGroup(ps, d.item.index, t);
    case DragSource::Group: return GroupOntoGroup(ps, d, t);
    case DragSource::Bulk: {
        if (ps.settings.BulkCount < 1) return kNothing;
        Hourglass busy(ps);
        MakeGroupCurrent(ps, t);
        if (!MoveBulkIntoLoadedGroup(ps)) return kDone;
        ps.lists.groupNames.titles[t] = kBulkGroupTitle;
        SaveGroupNames(ps);
        SaveSettings(ps);
        return kDone;
    }
    case DragSource::Temp:
    case DragSource::Alt: break;
    }
    return kNothing;
}

void EmptyGroup(ProgramState& ps, int s) {
    if (s == kHotKeyGroup)
        for (int letter = 0; letter < kHotKeyLetters; ++letter) WatchHotKeyLetter(ps, letter, false);
    DeleteGroupFiles(ps, s);
    // The shown group is loaded again from its new, empty files.
    if (s == ps.lists.groupClips.group) LoadCurrentGroup(ps);
    if (s != kHotKeyGroup) {
        ps.lists.groupNames.titles[s].clear();
        ps.lists.groupNames.colours[s] = 0;
    }
    SaveGroupNames(ps);
    SaveGroupColours(ps);
}

DropResult OnTrash(ProgramState& ps, const ActiveDrag& d) {
    const int s = d.item.index;
    switch (d.item.source) {
    case DragSource::Temp: return kNothing;
    case DragSource::Alt:
        // The clip dragged, even when another group is shown by now.
        if (DeleteClip(ps, SourceSlot(d)) && d.sourceGroup == kHotKeyGroup) WatchHotKeyLetter(ps, s, false);
        return kDone;
    case DragSource::Trans: DeleteClip(ps, SourceSlot(d)); return kDone;
    case DragSource::Group:
        if (s < 0 || s >= kGroups) return kNothing;
        EmptyGroup(ps, s);
        return kDone;
    case DragSource::Bulk:
        ClearBulkCache(ps);
        SaveSettings(ps);
        return kDone;
    }
    return kNothing;
}

DropResult OnBulkCacheArea(ProgramState& ps, const ActiveDrag& d) {
    Hourglass busy(ps);
    switch (d.item.source) {
    case DragSource::Temp:
    case DragSource::Alt:
    case DragSource::Trans:
        if (!AddToBulk(ps, SourceSlot(d))) return kNothing;
        break;
    case DragSource::Group: {
        const int g = d.item.index;
        if (g < 0 || g >= kGroups) return kNothing;
        for (int n = 0; n < kGroupSlots && ps.settings.BulkCount < kBulkSlots; ++n) {
            const SlotRef slot{ListKind::GroupClips, n, g};
            const auto entry = ReadSlotEntry(ps, slot);
            if (entry && !Blank(entry->title)) AddToBulk(ps, slot);
        }
        break;
    }
    case DragSource::Bulk: return kNothing;
    }
    SaveSettings(ps);
    return kDone;
}

DropResult Dispatch(ProgramState& ps, const ActiveDrag& d, DropOn on) {
    switch (on.target) {
    case DropTarget::GroupClip: return OnGroupClip(ps, d, on.index);
    case DropTarget::TransferSlot: return OnTransferSlot(ps, d, on.index);
    case DropTarget::GroupName: return OnGroupName(ps, d, on.index);
    case DropTarget::Trash: return OnTrash(ps, d);
    case DropTarget::BulkCacheArea: return d.item.source == DragSource::Bulk ? kNothing : OnBulkCacheArea(ps, d);
    case DropTarget::BulkPasteArea:
        return d.item.source == DragSource::Bulk ? DropResult{DropEffect::StartBulkPaste} : kNothing;
    }
    return kNothing;
}

}  // namespace

DropResult Drop(ProgramState& ps, DropOn on) {
    HideDropTargets(ps);
    const std::optional<ActiveDrag> drag = ps.drag.active;
    ps.drag.active.reset();
    DisarmDrag(ps);
    if (!drag || !SourceStillFilled(ps, *drag)) return kNothing;
    const DropResult result = Dispatch(ps, *drag, on);
    if (result.effect != DropEffect::Nothing) RefreshModeButtons(ps);
    return result;
}

}  // namespace pellion::ui
