#include "store/restore_clip.h"

#include "platform/files.h"

namespace pellion {

bool IsShortcutRecord(const std::string& path) {
    const auto head = files::readAt(path, 0, 2);
    if (!head || head->size() < 2) return false;
    const auto value = static_cast<std::int16_t>((*head)[0] | ((*head)[1] << 8));
    return value == kShortcutMarker;
}

RestoreResult RestoreClip(ProgramState& state, const SlotRef& slot) {
    const std::string path = SlotPath(state, slot);
    if (path.empty()) return RestoreResult::Busy;
    const RestoreResult result = RestoreClipFile(state, path);
    // Also after a failed restore: the keys are sent all the same.
    FollowUpRestore(state, slot.slot);
    return result;
}

}  // namespace pellion
