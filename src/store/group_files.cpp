#include "store/group_files.h"

#include <algorithm>

#include "app/program_state.h"
#include "platform/files.h"
#include "store/index_files.h"
#include "store/list_journal.h"
#include "store/slot_files.h"

namespace pellion {

namespace {

// Copies a file when the source has one, else deletes the target, so that
// the target ends up as the source is.
bool Mirror(const std::string& from, const std::string& to) {
    ListStep();
    if (files::exists(from)) return CopySlotFile(from, to);
    return DeleteSlotFile(to);
}

bool RemoveIndex(const std::string& path) {
    ListStep();
    return files::remove(path);
}

}  // namespace

bool CopyGroupFiles(ProgramState& ps, int from, const std::string& fromLibrary, int to) {
    if (from < 0 || from >= kGroups || to < 0 || to >= kGroups) return false;
    const std::string source = GroupFolder(ps, from, fromLibrary);
    const std::string target = GroupFolder(ps, to);
    if (from == to && source == target) return false;
    // The target shows no clip while its files change; its titles come last,
    // once every clip they name is there.
    bool ok = RemoveIndex(GroupTitlesPath(target, to));
    for (int n = 0; ok && n < kGroupSlots; ++n)
        ok = Mirror(SlotPath(ps, {ListKind::GroupClips, n, from, source}), SlotPath(ps, {ListKind::GroupClips, n, to}));
    ok = ok && Mirror(GroupModesPath(source, from), GroupModesPath(target, to));
    ok = ok && Mirror(GroupColoursPath(source, from), GroupColoursPath(target, to));
    ok = ok && Mirror(GroupTitlesPath(source, from), GroupTitlesPath(target, to));
    // A copy that cannot finish (a full disk) leaves the target empty, as it was.
    if (!ok) DeleteGroupFiles(ps, to);
    return ok;
}

bool DeleteGroupFiles(ProgramState& ps, int group, const std::string& library) {
    if (group < 0 || group >= kGroups) return false;
    const std::string folder = GroupFolder(ps, group, library);
    // Titles first: no title is ever left naming a clip that is gone.
    bool ok = RemoveIndex(GroupTitlesPath(folder, group));
    for (int n = 0; n < kGroupSlots; ++n) {
        ListStep();
        ok = DeleteSlotFile(SlotPath(ps, {ListKind::GroupClips, n, group, folder})) && ok;
    }
    ok = RemoveIndex(GroupModesPath(folder, group)) && ok;
    return RemoveIndex(GroupColoursPath(folder, group)) && ok;
}

bool MoveBulkIntoLoadedGroup(ProgramState& ps) {
    auto& clips = ps.lists.groupClips;
    if (clips.group < 0) return false;
    const int count = std::clamp<int>(ps.settings.BulkCount, 0, kBulkSlots);
    if (ps.lists.bulkTitles.size() != std::size_t(count)) LoadBulkCache(ps);
    const GroupClipsList before = clips;
    // Copied first and cleared only when every clip arrived, so a failure
    // leaves the cache whole rather than half moved.
    bool copied = true;
    int n = 0;
    for (; copied && n < count; ++n) {
        copied = Mirror(SlotPath(ps, {ListKind::Bulk, n}), SlotPath(ps, {ListKind::GroupClips, n}));
        clips.titles[n] = ps.lists.bulkTitles[n];
        clips.modes[n] = kModeGroupSetting;
        clips.colours[n] = 0;
    }
    ListStep();
    if (!copied || !SaveCurrentGroup(ps)) {
        // The group keeps what it showed; once its titles are back, the
        // copies they do not name go.
        clips = before;
        if (SaveCurrentGroup(ps))
            for (int k = 0; k < n; ++k)
                if (before.titles[k].empty()) DeleteSlotFile(SlotPath(ps, {ListKind::GroupClips, k}));
        return false;
    }
    return ClearBulkCache(ps);
}

}  // namespace pellion
