#include "store/group_files.h"

#include <algorithm>

#include "app/program_state.h"
#include "platform/files.h"
#include "store/index_files.h"
#include "store/slot_files.h"

namespace pellion {

namespace {

// Copies a file when the source has one, else deletes the target, so that
// the target ends up as the source is.
bool Mirror(const std::string& from, const std::string& to) {
    if (files::exists(from)) return CopySlotFile(from, to);
    return DeleteSlotFile(to);
}

}  // namespace

bool CopyGroupFiles(ProgramState& ps, int from, const std::string& fromLibrary, int to) {
    if (from < 0 || from >= kGroups || to < 0 || to >= kGroups) return false;
    const std::string source = GroupFolder(ps, from, fromLibrary);
    const std::string target = GroupFolder(ps, to);
    if (from == to && source == target) return false;
    bool ok = true;
    for (int n = 0; n < kGroupSlots; ++n) {
        ok = Mirror(SlotPath(ps, {ListKind::GroupClips, n, from, source}), SlotPath(ps, {ListKind::GroupClips, n, to}))
             && ok;
    }
    ok = Mirror(GroupTitlesPath(source, from), GroupTitlesPath(target, to)) && ok;
    ok = Mirror(GroupModesPath(source, from), GroupModesPath(target, to)) && ok;
    return Mirror(GroupColoursPath(source, from), GroupColoursPath(target, to)) && ok;
}

bool DeleteGroupFiles(ProgramState& ps, int group, const std::string& library) {
    if (group < 0 || group >= kGroups) return false;
    const std::string folder = GroupFolder(ps, group, library);
    bool ok = true;
    for (int n = 0; n < kGroupSlots; ++n)
        ok = DeleteSlotFile(SlotPath(ps, {ListKind::GroupClips, n, group, folder})) && ok;
    ok = files::remove(GroupTitlesPath(folder, group)) && ok;
    ok = files::remove(GroupModesPath(folder, group)) && ok;
    return files::remove(GroupColoursPath(folder, group)) && ok;
}

bool MoveBulkIntoLoadedGroup(ProgramState& ps) {
    auto& clips = ps.lists.groupClips;
    if (clips.group < 0) return false;
    const int count = std::clamp<int>(ps.settings.BulkCount, 0, kBulkSlots);
    if (ps.lists.bulkTitles.size() != std::size_t(count)) LoadBulkCache(ps);
    // Copied first and cleared only when every clip arrived, so a failure
    // leaves the cache whole rather than half moved.
    bool copied = true;
    for (int n = 0; n < count; ++n) {
        copied = Mirror(SlotPath(ps, {ListKind::Bulk, n}), SlotPath(ps, {ListKind::GroupClips, n}));
        if (!copied) break;
        clips.titles[n] = ps.lists.bulkTitles[n];
        clips.modes[n] = kModeGroupSetting;
        clips.colours[n] = 0;
    }
    bool ok = SaveCurrentGroup(ps);
    if (copied) ok = ClearBulkCache(ps) && ok;
    return copied && ok;
}

}  // namespace pellion
