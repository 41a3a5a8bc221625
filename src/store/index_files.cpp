#include "store/index_files.h"

#include <algorithm>
#include <optional>

#include "app/program_state.h"
#include "platform/files.h"
#include "store/fields.h"
#include "store/libraries.h"
#include "store/slot_files.h"

namespace pellion {

namespace {

using files::Bytes;

// An index file as found: missing or empty means new; bytes is empty when
// the file exists but cannot be read.
struct IndexRead {
    bool isNew = false;
    std::optional<Bytes> bytes;
};

IndexRead readIndex(const std::string& path) {
    if (files::size(path) <= 0) return {true, std::nullopt};
    return {false, files::readAll(path)};
}

Colour colourAt(const Bytes& bytes, int n) { return StoredColour(field::i32At(bytes, std::size_t(n) * 4, 0)); }

std::uint8_t modeAt(const Bytes& bytes, int n) {
    return std::size_t(n) < bytes.size() ? ClipModeCode(bytes[n]) : kModeGroupSetting;
}

// The value stored for a cell: its own colour, 0 when it equals the default,
// so that a new default in the options recolours it.
std::int32_t colourToStore(Colour own, std::int32_t listDefault) {
    return own == static_cast<Colour>(listDefault) ? 0 : static_cast<std::int32_t>(own);
}

template <std::size_t N>
Bytes titlesBytes(const std::array<std::string, N>& titles) {
    Bytes out;
    out.reserve(N * kTitleBytes);
    for (const auto& t : titles) field::putText(out, t, kTitleBytes);
    return out;
}

template <std::size_t N>
Bytes coloursBytes(const std::array<Colour, N>& colours, std::int32_t listDefault) {
    Bytes out;
    out.reserve(N * 4);
    for (Colour c : colours) field::putI32(out, colourToStore(c, listDefault));
    return out;
}

template <std::size_t N>
void readColours(const std::string& path, std::array<Colour, N>& colours) {
    auto r = readIndex(path);
    if (!r.bytes) return;
    for (int n = 0; n < int(N); ++n) colours[n] = colourAt(*r.bytes, n);
}

}  // namespace

Colour StoredColour(std::int32_t value) { return value < 0 || value > 0xFFFFFF ? 0 : Colour(value); }

std::uint8_t ClipModeCode(int value) {
    return value >= kModeNormal && value <= kModeFormFilling ? std::uint8_t(value) : kModeGroupSetting;
}

std::int16_t GroupModeCode(int value) { return value >= 0 && value <= 3 ? std::int16_t(value) : 0; }

std::string FileIn(const std::string& folder, const std::string& name) { return files::resolve(folder, name); }

std::string GroupFolder(const ProgramState& state, int group, const std::string& libraryFolder) {
    if (group == kHotKeyGroup) return state.dataFolder;
    return libraryFolder.empty() ? state.libraryFolder : libraryFolder;
}

std::string GroupTitlesPath(const std::string& folder, int group) {
    return FileIn(folder, "group" + std::to_string(group) + ".dat");
}
std::string GroupModesPath(const std::string& folder, int group) {
    return FileIn(folder, "group" + std::to_string(group) + ".mod");
}
std::string GroupColoursPath(const std::string& folder, int group) {
    return FileIn(folder, "colr" + std::to_string(group) + ".dat");
}

bool LoadClipboardClips(ProgramState& state) {
    auto& list = state.lists.clipboardClips;
    auto r = readIndex(FileIn(state.dataFolder, "clip.dat"));
    if (state.settings.ClearOption == 0 || r.isNew) {
        list = {};
        return SaveClipboardClips(state);
    }
    if (!r.bytes) return false;
    list.count = std::clamp<int>(field::i16At(*r.bytes, 0, 0), 0, kClipSlots);
    for (int n = 0; n < kClipSlots; ++n)
        list.titles[n] = n < list.count ? field::textAt(*r.bytes, 2 + std::size_t(n) * kTitleBytes, kTitleBytes) : "";
    return true;
}

bool ClipIndexHoldsACount(const ProgramState& state) {
    const auto head = files::readAt(FileIn(state.dataFolder, "clip.dat"), 0, 2);
    if (!head || head->size() < 2) return false;
    const int count = field::i16At(*head, 0, -1);
    return count >= 0 && count <= kClipSlots;
}

Bytes ClipboardClipsBytes(const ClipboardClipsList& list) {
    Bytes out;
    field::putI16(out, std::int16_t(std::clamp(list.count, 0, kClipSlots)));
    const Bytes titles = titlesBytes(list.titles);
    out.insert(out.end(), titles.begin(), titles.end());
    return out;
}

bool SaveClipboardClips(ProgramState& state) {
    return files::writeWhole(FileIn(state.dataFolder, "clip.dat"), ClipboardClipsBytes(state.lists.clipboardClips));
}

bool LoadTransferSlots(ProgramState& state) {
    auto& slots = state.lists.transferSlots;
    bool ok = true;
    slots.titles.fill("");
    for (auto& f : slots.referenceFolders) f.clear();

    auto titles = readIndex(FileIn(state.dataFolder, "trans.dat"));
    if (titles.isNew) {
        slots.states.fill(kSlotHoldsClip);
        Bytes out = titlesBytes(slots.titles);
        for (int n = 0; n < kTransferSlots; ++n) field::putI16(out, kSlotHoldsClip);
        ok = files::writeWhole(FileIn(state.dataFolder, "trans.dat"), out) && ok;
    } else if (titles.bytes) {
        for (int n = 0; n < kTransferSlots; ++n) {
            // The folder of a group reference is never stored, so it cannot survive.
            const std::int16_t s = field::i16At(*titles.bytes, 400 + std::size_t(n) * 2, kSlotHoldsClip);
            slots.states[n] = s == kSlotHoldsClip ? kSlotHoldsClip : 1;
            if (s == kSlotHoldsClip) slots.titles[n] = field::textAt(*titles.bytes, std::size_t(n) * kTitleBytes, kTitleBytes);
        }
    } else {
        ok = false;
    }

    auto modes = readIndex(FileIn(state.dataFolder, "trans.mod"));
    if (modes.isNew) {
        slots.modes.fill(kModeGroupSetting);
        ok = files::writeWhole(FileIn(state.dataFolder, "trans.mod"), Bytes(kTransferSlots, kModeGroupSetting)) && ok;
    } else if (modes.bytes) {
        for (int n = 0; n < kTransferSlots; ++n) slots.modes[n] = modeAt(*modes.bytes, n);
    } else {
        ok = false;
    }

    auto colours = readIndex(FileIn(state.dataFolder, "trans.clr"));
    if (colours.isNew) {
        slots.colours.fill(0);
        ok = files::writeWhole(FileIn(state.dataFolder, "trans.clr"), Bytes(kTransferSlots * 4, 0)) && ok;
    } else if (colours.bytes) {
        for (int n = 0; n < kTransferSlots; ++n) slots.colours[n] = colourAt(*colours.bytes, n);
    } else {
        ok = false;
    }
    return ok;
}

bool SaveTransferSlots(ProgramState& state) {
    const auto& slots = state.lists.transferSlots;
    Bytes titles = titlesBytes(slots.titles);
    for (auto s : slots.states) field::putI16(titles, s);
    Bytes modes(slots.modes.begin(), slots.modes.end());
    bool ok = files::writeWhole(FileIn(state.dataFolder, "trans.dat"), titles);
    ok = files::writeWhole(FileIn(state.dataFolder, "trans.mod"), modes) && ok;
    ok = files::writeWhole(FileIn(state.dataFolder, "trans.clr"),
                           coloursBytes(slots.colours, state.settings.TransferSlotsColour)) && ok;
    return ok;
}

bool LoadCurrentGroup(ProgramState& state) {
    if (state.settings.CurrentGroup < 0 || state.settings.CurrentGroup >= kGroups) state.settings.CurrentGroup = 0;
    const int g = state.settings.CurrentGroup;
    ComputeGroupStem(state);
    const std::string folder = GroupFolder(state, g);
    auto& clips = state.lists.groupClips;
    bool ok = true;

    auto mode = readIndex(FileIn(folder, "mode.dat"));
    if (mode.isNew) {
        state.settings.GroupMode = 0;
        ok = files::writeWhole(FileIn(folder, "mode.dat"), Bytes(kGroupModesSize, 0)) && ok;
    } else if (mode.bytes) {
        state.settings.GroupMode = GroupModeCode(field::i16At(*mode.bytes, std::size_t(g) * 2, 0));
    } else {
        ok = false;
    }

    clips.group = g;
    clips.folder = folder;
    clips.titles.fill("");
    clips.modes.fill(kModeGroupSetting);

    auto titles = readIndex(GroupTitlesPath(folder, g));
    if (titles.isNew) {
        ok = files::writeWhole(GroupTitlesPath(folder, g), titlesBytes(clips.titles)) && ok;
    } else if (titles.bytes) {
        for (int n = 0; n < kGroupSlots; ++n)
            clips.titles[n] = field::textAt(*titles.bytes, std::size_t(n) * kTitleBytes, kTitleBytes);
    } else {
        ok = false;
    }

    auto colours = readIndex(GroupColoursPath(folder, g));
    if (colours.isNew) {
        clips.colours.fill(0);
        ok = files::writeWhole(GroupColoursPath(folder, g), Bytes(kGroupClipColoursSize, 0)) && ok;
    } else if (colours.bytes) {
        for (int n = 0; n < kGroupSlots; ++n) clips.colours[n] = colourAt(*colours.bytes, n);
    } else {
        ok = false;
    }

    auto modes = readIndex(GroupModesPath(folder, g));
    if (modes.isNew) {
        ok = files::writeWhole(GroupModesPath(folder, g), Bytes(kGroupClipModesSize, kModeGroupSetting)) && ok;
    } else if (modes.bytes) {
        for (int n = 0; n < kGroupSlots; ++n) clips.modes[n] = modeAt(*modes.bytes, n);
    } else {
        ok = false;
    }

    SetLetterLabels(state);
    return ok;
}

bool SaveCurrentGroup(ProgramState& state) {
    const auto& clips = state.lists.groupClips;
    if (clips.group < 0 || clips.group >= kGroups) return false;
    Bytes modes(clips.modes.begin(), clips.modes.end());
    bool ok = files::writeWhole(GroupTitlesPath(clips.folder, clips.group), titlesBytes(clips.titles));
    ok = files::writeWhole(GroupModesPath(clips.folder, clips.group), modes) && ok;
    ok = files::writeWhole(GroupColoursPath(clips.folder, clips.group),
                           coloursBytes(clips.colours, state.settings.GroupClipsColour)) && ok;
    return ok;
}

bool SaveGroupMode(ProgramState& state) {
    const int g = state.settings.CurrentGroup;
    if (g < 0 || g >= kGroups) return false;
    const std::string path = FileIn(GroupFolder(state, g), "mode.dat");
    Bytes value;
    field::putI16(value, GroupModeCode(state.settings.GroupMode));
    if (files::size(path) >= std::int64_t(kGroupModesSize)) return files::patch(path, std::size_t(g) * 2, value);
    // A short file is brought to its full layout first, keeping what it holds.
    Bytes whole = files::readAll(path).value_or(Bytes{});
    whole.resize(kGroupModesSize, 0);
    std::copy(value.begin(), value.end(), whole.begin() + g * 2);
    return files::writeWhole(path, whole);
}

bool SaveGroupNames(ProgramState& state) {
    return files::writeWhole(FileIn(state.libraryFolder, "groups.dat"), titlesBytes(state.lists.groupNames.titles));
}

bool SaveGroupColours(ProgramState& state) {
    return files::writeWhole(FileIn(state.libraryFolder, "groups.clr"),
                             coloursBytes(state.lists.groupNames.colours, state.settings.GroupNamesColour));
}

bool LoadBulkCache(ProgramState& state) {
    const int count = std::clamp<int>(state.settings.BulkCount, 0, kBulkSlots);
    state.settings.BulkCount = std::int16_t(count);
    auto& titles = state.lists.bulkTitles;
    titles.assign(count, "");
    const std::string path = FileIn(state.dataFolder, "bulk.dat");
    if (!files::exists(path)) return true;
    auto bytes = files::readAll(path);
    if (!bytes) return false;
    for (int n = 0; n < count; ++n) titles[n] = field::textAt(*bytes, std::size_t(n) * kTitleBytes, kTitleBytes);
    return true;
}

ListLook ApplyListColours(ProgramState& state) {
    auto& lists = state.lists;
    readColours(FileIn(state.dataFolder, "trans.clr"), lists.transferSlots.colours);
    if (lists.groupClips.group >= 0)
        readColours(GroupColoursPath(lists.groupClips.folder, lists.groupClips.group), lists.groupClips.colours);
    readColours(FileIn(state.libraryFolder, "groups.clr"), lists.groupNames.colours);

    ListLook look;
    look.bold = state.settings.FontOption != 0;
    for (int n = 0; n < kClipSlots; ++n) look.clipboardClips[n] = LookOf(state, ListKind::ClipboardClips, n);
    for (int n = 0; n < kTransferSlots; ++n) look.transferSlots[n] = LookOf(state, ListKind::TransferSlots, n);
    for (int n = 0; n < kGroups; ++n) look.groupNames[n] = LookOf(state, ListKind::GroupNames, n);
    for (int n = 0; n < kGroupSlots; ++n) look.groupClips[n] = LookOf(state, ListKind::GroupClips, n);
    return look;
}

CellLook LookOf(const ProgramState& state, ListKind list, int index) {
    const auto& lists = state.lists;
    const auto& s = state.settings;
    const CellLook highlighted{kHighlight, kHighlightText};
    const auto& bar = lists.highlightBar;
    if (bar && bar->list == list && bar->index == index) return highlighted;
    auto own = [index](const auto& colours, std::int32_t listDefault) -> CellLook {
        const bool inRange = index >= 0 && std::size_t(index) < colours.size();
        const Colour c = inRange ? colours[index] : 0;
        return {c != 0 ? c : static_cast<Colour>(listDefault), kBlack};
    };
    switch (list) {
    case ListKind::ClipboardClips:
        return {static_cast<Colour>(s.ClipboardClipsColour), kBlack};
    case ListKind::TransferSlots:
        return own(lists.transferSlots.colours, s.TransferSlotsColour);
    case ListKind::GroupNames:
        if (index == s.CurrentGroup) return highlighted;
        return own(lists.groupNames.colours, s.GroupNamesColour);
    case ListKind::GroupClips:
        return own(lists.groupClips.colours, s.GroupClipsColour);
    case ListKind::Bulk:
        break;
    }
    return {0xFFFFFF, kBlack};
}

}  // namespace pellion
