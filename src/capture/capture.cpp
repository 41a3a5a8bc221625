// The capture part of the monitor's tick: open the clipboard, skip what
// carries the marker, snapshot the rest into a new Clipboard Clip, and in
// bulk capture also into the bulk cache.
#include <utility>

#include "app/program_state.h"
#include "app/settings_file.h"
#include "capture/monitor.h"
#include "capture/save_notice.h"
#include "platform/files.h"
#include "store/clip_file.h"
#include "store/fields.h"
#include "store/index_files.h"
#include "store/slot_files.h"
#include "ui/logic/main_form.h"

namespace pellion {

namespace {

// Password managers mark what they copy with this target; it never goes to disk.
constexpr const char* kSecretHintTarget = "x-kde-passwordManagerHint";

// Closes the clipboard on every way out of the capture.
class OpenClipboard {
public:
    explicit OpenClipboard(platform::Clipboard& cb) : cb_(cb), open_(cb.open()) {}
    ~OpenClipboard() { close(); }
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;
    bool isOpen() const { return open_; }
    void close() {
        if (open_) cb_.close();
        open_ = false;
    }

private:
    platform::Clipboard& cb_;
    bool open_;
};

bool OffersSecretHint(platform::Clipboard& cb) {
    for (const auto& format : cb.formats()) {
        if (format.name != kSecretHintTarget) continue;
        auto value = cb.data(format.id);
        if (!value) return false;
        std::string text(value->begin(), value->end());
        while (!text.empty() && (text.back() == '\0' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
        return text == "secret";
    }
    return false;
}

// The record count that the snapshot wrote at offset 4 of "clip.tmp".
int SnapshotRecords(const std::string& path) {
    auto head = files::readAt(path, 0, 8);
    return head ? field::i32At(*head, 4, 0) : 0;
}

// The owner of the newest Clipboard Clip exited and took its content along:
// that clip goes back on the clipboard, whole, so it stays pasteable.
TickOutcome KeepNewestAlive(ProgramState& ps, const platform::OwnerStamp& gone) {
    auto& list = ps.lists.clipboardClips;
    const std::string path = SlotPath(ps, {ListKind::ClipboardClips, list.count - 1});
    if (!files::exists(path)) {
        ps.monitor.newestClipOwner.reset();
        return TickOutcome::Seen;
    }
    const bool textOnly = std::exchange(ps.clip.textOnly, false);
    const RestoreResult r = RestoreClipFile(ps, path);
    ps.clip.textOnly = textOnly;
    if (r == RestoreResult::Busy) {
        ps.monitor.lastSeenOwner = gone;  // the next tick tries again
        return TickOutcome::Busy;
    }
    ps.monitor.newestClipOwner.reset();
    ps.monitor.lastSeenOwner = ps.platform.clipboard->owner();
    return r == RestoreResult::Restored ? TickOutcome::KeptAlive : TickOutcome::Failed;
}

// Step 10.8: the new clip also becomes the next bulk slot.
void AddCaptureToBulk(ProgramState& ps, const std::string& clipText, bool pendingTitleUsed) {
    const int newest = ps.lists.clipboardClips.count - 1;
    const int n = ps.settings.BulkCount;
    if (!AddToBulk(ps, {ListKind::ClipboardClips, newest})) return;
    // The bulk slot keeps the clip's own title even when the list shows a pending one.
    if (pendingTitleUsed) WriteSlotEntry(ps, {ListKind::Bulk, n}, SlotEntry{MakeTitle(clipText)});
    SaveSettings(ps);
}

// Steps 10.1 and 10.3 to 10.9, once "clip.tmp" holds the snapshot.
TickOutcome FileSnapshot(ProgramState& ps, const std::optional<platform::OwnerStamp>& owner) {
    MonitorState& m = ps.monitor;
    if (m.clearBeforeNextCapture) {
        m.clearBeforeNextCapture = false;
        EmptyClipboardClips(ps);
    }
    if (!ps.clip.hasText) ps.clip.clipText = kNonTextTitle;
    const bool pending = std::exchange(m.pendingTitleSet, false);
    const std::string title = pending ? m.pendingTitle : MakeTitle(ps.clip.clipText);
    const bool filed = FileCapturedClip(ps, title);
    m.newestClipOwner = filed ? owner : std::nullopt;
    ShowClipboardClips(ps);
    if (!filed) {
        files::remove(ClipTempPath(ps));
        CaptureNotSaved(ps);
        detail::Refresh(ps);
        return TickOutcome::Failed;
    }
    CaptureSaved(ps);
    if (ps.settings.CaptureMode == 2 && ps.settings.BulkCount < kBulkSlots) {
        AddCaptureToBulk(ps, ps.clip.clipText, pending);
        ui::RefreshModeButtons(ps);
    } else if (ps.settings.BulkCount == 0) {
        ps.mainForm.form[{ui::Family::CaptureMode, 2}].caption = "Bulk";
    }
    detail::Refresh(ps);
    return TickOutcome::Captured;
}

}  // namespace

namespace detail {

TickOutcome CaptureClipboard(ProgramState& ps) {
    auto* cb = ps.platform.clipboard.get();
    if (!cb) return TickOutcome::Busy;
    OpenClipboard clipboard(*cb);
    if (!clipboard.isOpen()) return TickOutcome::Busy;

    MonitorState& m = ps.monitor;
    const auto owner = cb->owner();
    const auto before = std::exchange(m.lastSeenOwner, owner);
    if (!owner && before && before == m.newestClipOwner && ps.lists.clipboardClips.count > 0) {
        clipboard.close();
        return KeepNewestAlive(ps, *before);
    }
    if (ps.clip.markerId == 0) ps.clip.markerId = cb->registerFormat(platform::kMarkerName);
    if (cb->isFormatAvailable(ps.clip.markerId)) return TickOutcome::Seen;
    if (OffersSecretHint(*cb)) {
        AddMarker(ps);
        return TickOutcome::Secret;
    }

    // A snapshot that could not be written leaves the content unmarked, so
    // the next tick tries again.
    if (!SnapshotClipboard(ps)) {
        CaptureNotSaved(ps);
        return TickOutcome::Failed;
    }
    AddMarker(ps);
    clipboard.close();
    const std::string temp = ClipTempPath(ps);
    if (SnapshotRecords(temp) <= 0) {
        // An empty clipboard, or an owner that never answered: nothing to keep.
        files::remove(temp);
        return TickOutcome::Empty;
    }
    return FileSnapshot(ps, owner);
}

}  // namespace detail

}  // namespace pellion
