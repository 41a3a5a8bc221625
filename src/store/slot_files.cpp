#include "store/slot_files.h"

#include <algorithm>

#include "app/program_state.h"
#include "app/settings_file.h"
#include "platform/files.h"
#include "store/fields.h"
#include "store/index_files.h"
#include "store/list_journal.h"

namespace pellion {

namespace {

using files::Bytes;

int slotsOf(ListKind list) {
    switch (list) {
    case ListKind::ClipboardClips: return kClipSlots;
    case ListKind::TransferSlots: return kTransferSlots;
    case ListKind::GroupClips: return kGroupSlots;
    case ListKind::Bulk: return kBulkSlots;
    case ListKind::GroupNames: break;
    }
    return 0;
}

int groupOf(const ProgramState& state, const SlotRef& ref) {
    if (ref.group >= 0) return ref.group;
    return state.lists.groupClips.group >= 0 ? state.lists.groupClips.group : state.settings.CurrentGroup;
}

bool validSlot(const ProgramState& state, const SlotRef& ref) {
    if (ref.slot < 0 || ref.slot >= slotsOf(ref.list)) return false;
    if (ref.list != ListKind::GroupClips) return true;
    const int g = groupOf(state, ref);
    return g >= 0 && g < kGroups;
}

bool isLoadedGroup(const ProgramState& state, const SlotRef& ref) {
    const auto& loaded = state.lists.groupClips;
    const int g = groupOf(state, ref);
    return loaded.group >= 0 && g == loaded.group && GroupFolder(state, g, ref.library) == loaded.folder;
}

bool sameSlot(const ProgramState& state, const SlotRef& a, const SlotRef& b) {
    if (a.list != b.list || a.slot != b.slot) return false;
    if (a.list != ListKind::GroupClips) return true;
    const int ga = groupOf(state, a), gb = groupOf(state, b);
    return ga == gb && GroupFolder(state, ga, a.library) == GroupFolder(state, gb, b.library);
}

// Writes bytes at offset, first filling any gap after the end of the file
// with filler so the layout stays whole.
bool patchFilled(const std::string& path, std::size_t offset, const Bytes& bytes, std::uint8_t filler) {
    const std::int64_t size = std::max<std::int64_t>(files::size(path), 0);
    if (std::size_t(size) >= offset) return files::patch(path, offset, bytes);
    Bytes filled(offset - std::size_t(size), filler);
    filled.insert(filled.end(), bytes.begin(), bytes.end());
    return files::patch(path, std::size_t(size), filled);
}

bool ensureLayout(const std::string& path, std::size_t size, std::uint8_t filler) {
    if (files::size(path) >= std::int64_t(size)) return true;
    auto bytes = files::exists(path) ? files::readAll(path) : std::optional<Bytes>(Bytes{});
    if (!bytes) return false;
    bytes->resize(size, filler);
    return files::writeWhole(path, *bytes);
}

std::int32_t colourToStore(Colour own, std::int32_t listDefault) {
    return own == static_cast<Colour>(listDefault) ? 0 : static_cast<std::int32_t>(own);
}

bool writeGroupEntry(ProgramState& state, const SlotRef& ref, const SlotEntry& e) {
    const int g = groupOf(state, ref);
    if (isLoadedGroup(state, ref)) {
        auto& clips = state.lists.groupClips;
        clips.titles[ref.slot] = field::title(e.title);
        clips.modes[ref.slot] = ClipModeCode(e.mode);
        clips.colours[ref.slot] = e.colour;
        return SaveCurrentGroup(state);
    }
    const std::string folder = GroupFolder(state, g, ref.library);
    if (!EnsureGroupFiles(folder, g)) return false;
    bool ok = WriteTitleAt(GroupTitlesPath(folder, g), ref.slot, e.title);
    ok = WriteModeAt(GroupModesPath(folder, g), ref.slot, e.mode) && ok;
    const Colour stored = Colour(colourToStore(e.colour, state.settings.GroupClipsColour));
    return WriteColourAt(GroupColoursPath(folder, g), ref.slot, stored) && ok;
}

}  // namespace

std::string SlotPath(const ProgramState& state, const SlotRef& ref) {
    if (!validSlot(state, ref)) return {};
    const std::string n = std::to_string(ref.slot);
    switch (ref.list) {
    case ListKind::ClipboardClips: return FileIn(state.dataFolder, "clip." + n);
    case ListKind::TransferSlots: return FileIn(state.dataFolder, "trans." + n);
    case ListKind::Bulk: return FileIn(state.dataFolder, "bulk." + n);
    case ListKind::GroupClips: {
        const int g = groupOf(state, ref);
        return FileIn(GroupFolder(state, g, ref.library), "group" + std::to_string(g) + "." + n);
    }
    case ListKind::GroupNames: break;
    }
    return {};
}

void ComputeGroupStem(ProgramState& state) {
    const int g = std::clamp<int>(state.settings.CurrentGroup, 0, kGroups - 1);
    state.lists.groupStem = GroupFolder(state, g) + "group" + std::to_string(g) + ".";
}

bool DeleteSlotFile(const std::string& path) { return !path.empty() && files::remove(path); }

bool CopySlotFile(const std::string& from, const std::string& to) {
    return !from.empty() && !to.empty() && files::copy(from, to);
}

bool RenameSlotFile(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty()) return false;
    return from == to || files::rename(from, to);
}

bool WriteTitleAt(const std::string& indexFile, int n, const std::string& title) {
    if (n < 0) return false;
    const std::string f = field::fit(field::title(title), kTitleBytes);
    return patchFilled(indexFile, std::size_t(n) * kTitleBytes, Bytes(f.begin(), f.end()), ' ');
}

std::string ReadTitleAt(const std::string& indexFile, int n) {
    if (n < 0) return {};
    auto bytes = files::readAt(indexFile, std::size_t(n) * kTitleBytes, kTitleBytes);
    return bytes ? field::textAt(*bytes, 0, kTitleBytes) : std::string();
}

bool WriteModeAt(const std::string& indexFile, int n, std::uint8_t code) {
    if (n < 0) return false;
    return patchFilled(indexFile, std::size_t(n), Bytes{ClipModeCode(code)}, kModeGroupSetting);
}

std::uint8_t ReadModeAt(const std::string& indexFile, int n) {
    if (n < 0) return kModeGroupSetting;
    auto bytes = files::readAt(indexFile, std::size_t(n), 1);
    return bytes && bytes->size() == 1 ? ClipModeCode((*bytes)[0]) : kModeGroupSetting;
}

bool WriteColourAt(const std::string& indexFile, int n, Colour colour) {
    if (n < 0) return false;
    Bytes b;
    field::putI32(b, static_cast<std::int32_t>(StoredColour(static_cast<std::int32_t>(colour))));
    return patchFilled(indexFile, std::size_t(n) * 4, b, 0);
}

Colour ReadColourAt(const std::string& indexFile, int n) {
    if (n < 0) return 0;
    auto bytes = files::readAt(indexFile, std::size_t(n) * 4, 4);
    return bytes ? StoredColour(field::i32At(*bytes, 0, 0)) : 0;
}

bool EnsureGroupFiles(const std::string& folder, int group) {
    bool ok = ensureLayout(GroupTitlesPath(folder, group), kGroupTitlesSize, ' ');
    ok = ensureLayout(GroupModesPath(folder, group), kGroupClipModesSize, kModeGroupSetting) && ok;
    return ensureLayout(GroupColoursPath(folder, group), kGroupClipColoursSize, 0) && ok;
}

std::optional<SlotEntry> ReadSlotEntry(const ProgramState& state, const SlotRef& ref) {
    if (!validSlot(state, ref)) return std::nullopt;
    const int n = ref.slot;
    const auto& lists = state.lists;
    switch (ref.list) {
    case ListKind::ClipboardClips:
        return SlotEntry{lists.clipboardClips.titles[n]};
    case ListKind::TransferSlots:
        return SlotEntry{lists.transferSlots.titles[n], lists.transferSlots.modes[n], lists.transferSlots.colours[n]};
    case ListKind::Bulk:
        if (std::size_t(n) < lists.bulkTitles.size()) return SlotEntry{lists.bulkTitles[n]};
        return SlotEntry{ReadTitleAt(FileIn(state.dataFolder, "bulk.dat"), n)};
    case ListKind::GroupClips: {
        if (isLoadedGroup(state, ref))
            return SlotEntry{lists.groupClips.titles[n], lists.groupClips.modes[n], lists.groupClips.colours[n]};
        const int g = groupOf(state, ref);
        const std::string folder = GroupFolder(state, g, ref.library);
        return SlotEntry{ReadTitleAt(GroupTitlesPath(folder, g), n), ReadModeAt(GroupModesPath(folder, g), n),
                         ReadColourAt(GroupColoursPath(folder, g), n)};
    }
    case ListKind::GroupNames: break;
    }
    return std::nullopt;
}

bool WriteSlotEntry(ProgramState& state, const SlotRef& ref, const SlotEntry& e) {
    if (!validSlot(state, ref)) return false;
    const int n = ref.slot;
    auto& lists = state.lists;
    switch (ref.list) {
    case ListKind::ClipboardClips:
        lists.clipboardClips.titles[n] = field::title(e.title);
        return SaveClipboardClips(state);
    case ListKind::TransferSlots: {
        auto& t = lists.transferSlots;
        t.titles[n] = field::title(e.title);
        t.modes[n] = ClipModeCode(e.mode);
        t.colours[n] = e.colour;
        t.states[n] = kSlotHoldsClip;
        t.referenceFolders[n].clear();
        return SaveTransferSlots(state);
    }
    case ListKind::Bulk:
        if (std::size_t(n) >= lists.bulkTitles.size()) lists.bulkTitles.resize(n + 1);
        lists.bulkTitles[n] = field::title(e.title);
        return WriteTitleAt(FileIn(state.dataFolder, "bulk.dat"), n, e.title);
    case ListKind::GroupClips:
        return writeGroupEntry(state, ref, e);
    case ListKind::GroupNames: break;
    }
    return false;
}

bool CopyClipToSlot(ProgramState& state, const SlotRef& from, const SlotRef& to) {
    if (to.list == ListKind::ClipboardClips || sameSlot(state, from, to)) return false;
    if (from.list == ListKind::TransferSlots && from.slot >= 0 && from.slot < kTransferSlots &&
        state.lists.transferSlots.states[from.slot] != kSlotHoldsClip)
        return false;  // a group reference has no clip file of its own
    auto entry = ReadSlotEntry(state, from);
    auto target = ReadSlotEntry(state, to);
    if (!entry || !target) return false;
    if (from.list == ListKind::ClipboardClips || from.list == ListKind::Bulk) {
        entry->mode = target->mode;
        entry->colour = target->colour;
    }
    // The file first: until its entry is written it counts for nothing.
    const std::string targetPath = SlotPath(state, to);
    ListStep();
    if (!CopySlotFile(SlotPath(state, from), targetPath)) return false;
    const ListModel before = state.lists;
    ListStep();
    if (WriteSlotEntry(state, to, *entry)) return true;
    // A full disk: the target is left as it was, in memory and on disk; its
    // old entry goes back first, so no title is left naming a file that went.
    state.lists = before;
    if (WriteSlotEntry(state, to, *target)) DeleteSlotFile(targetPath);
    state.lists = before;
    return false;
}

bool MoveClipToSlot(ProgramState& state, const SlotRef& from, const SlotRef& to) {
    if (from.list != ListKind::TransferSlots && from.list != ListKind::GroupClips) return false;
    return CopyClipToSlot(state, from, to) && DeleteClip(state, from);
}

bool DeleteClip(ProgramState& state, const SlotRef& ref) {
    if (ref.list != ListKind::TransferSlots && ref.list != ListKind::GroupClips) return false;
    if (!validSlot(state, ref)) return false;
    // The entry goes before the file, so no title is ever left without its clip.
    const ListModel before = state.lists;
    ListStep();
    if (!WriteSlotEntry(state, ref, SlotEntry{})) {
        state.lists = before;
        return false;
    }
    ListStep();
    DeleteSlotFile(SlotPath(state, ref));
    return true;
}

bool FileCapturedClip(ProgramState& state, const std::string& title) {
    const std::string temp = FileIn(state.dataFolder, "clip.tmp");
    if (!files::exists(temp)) return false;
    ClipboardClipsList next = state.lists.clipboardClips;
    next.count = std::clamp(next.count, 0, kClipSlots);
    auto clip = [&](int n) { return SlotPath(state, {ListKind::ClipboardClips, n}); };
    // Renames alone cannot move nine files and the index at once: the
    // journal lets a crash anywhere be finished at the next start.
    ListChange change(state.dataFolder);
    int slot = next.count;
    if (slot == kClipSlots) {
        // The oldest clip is dropped: each later one moves down a slot.
        for (int n = 0; n < kClipSlots - 1; ++n) {
            change.move(clip(n + 1), clip(n));
            next.titles[n] = next.titles[n + 1];
        }
        slot = kClipSlots - 1;
    }
    change.adopt(temp, clip(slot));
    next.titles[slot] = field::title(title);
    next.count = slot + 1;
    // Nothing moved unless all of it can: the list stays as it was.
    if (!change.write(FileIn(state.dataFolder, "clip.dat"), ClipboardClipsBytes(next)) || !change.commit())
        return false;
    state.lists.clipboardClips = next;
    return true;
}

bool EmptyClipboardClips(ProgramState& state) {
    auto& list = state.lists.clipboardClips;
    list = {};
    bool ok = SaveClipboardClips(state);
    for (int n = 0; n < kClipSlots; ++n) ok = DeleteSlotFile(SlotPath(state, {ListKind::ClipboardClips, n})) && ok;
    return ok;
}

bool AddToBulk(ProgramState& state, const SlotRef& from) {
    const int n = std::clamp<int>(state.settings.BulkCount, 0, kBulkSlots);
    if (n >= kBulkSlots) return false;
    if (state.lists.bulkTitles.size() != std::size_t(n)) {
        state.settings.BulkCount = std::int16_t(n);
        LoadBulkCache(state);
    }
    if (!CopyClipToSlot(state, from, {ListKind::Bulk, n})) return false;
    state.settings.BulkCount = std::int16_t(n + 1);
    return true;
}

bool ClearBulkCache(ProgramState& state) {
    const int count = std::clamp<int>(state.settings.BulkCount, 0, kBulkSlots);
    const SettingsRecord before = state.settings;
    state.settings.BulkCount = 0;
    state.settings.CaptureMode = 0;
    // The count on disk goes first: it must never name files that are gone.
    ListStep();
    if (!SaveSettings(state)) {
        state.settings = before;
        return false;
    }
    state.lists.bulkTitles.clear();
    bool ok = true;
    for (int n = 0; n < count; ++n) {
        ListStep();
        ok = DeleteSlotFile(SlotPath(state, {ListKind::Bulk, n})) && ok;
    }
    ListStep();
    return files::remove(FileIn(state.dataFolder, "bulk.dat")) && ok;
}

bool StoreGroupReference(ProgramState& state, int slot, int group) {
    if (slot < 0 || slot >= kTransferSlots || group < 0 || group >= kGroups) return false;
    auto& t = state.lists.transferSlots;
    t.states[slot] = std::int16_t(group);
    t.referenceFolders[slot] = state.libraryFolder;
    t.titles[slot] = state.lists.groupNames.titles[group];
    return SaveTransferSlots(state);
}

}  // namespace pellion
