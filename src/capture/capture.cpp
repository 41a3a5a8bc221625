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

// Offered and unreadable counts as secret: an owner that hides the hint's
// value may well be hiding a password.
bool OffersSecretHint(platform::Clipboard& cb) {
    for (const auto& format : cb.formats()) {
        if (format.name != kSecretHintTarget) continue;
        auto value = cb.data(format.id);
        if (!value) return true;
        std::string text(value->begin(), value->end());
        const auto blank = [](char c) { return c == '\0' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
        while (!text.empty() && blank(text.back())) text.pop_back();
        std::size_t start = 0;
        while (start < text.size() && blank(text[start])) ++start;
        return files::toLower(text.substr(start)) == "secret";
    }
    return false;
}

bool Mark(platform::Clipboard& cb, std::uint32_t marker) { return cb.setData(marker, {'o', 'k'}); }

// The reading side of a capture: open, skip what carries the marker or
// is secret, snapshot the rest into temp and mark it. Touches nothing but cb,
// temp and read, so it may run on the worker's thread.
void ReadClipboard(platform::Clipboard& cb, std::uint32_t marker, const std::string& temp, CaptureRead& read) {
    OpenClipboard clipboard(cb);
    if (!clipboard.isOpen()) {
        read.outcome = TickOutcome::Busy;
        return;
    }
    read.owner = cb.owner();
    if (cb.isFormatAvailable(marker)) {
        read.outcome = TickOutcome::Seen;
    } else if (OffersSecretHint(cb)) {
        Mark(cb, marker);
        read.outcome = TickOutcome::Secret;
    } else if (!WriteSnapshot(cb, temp, read.snapshot)) {
        // Left unmarked, so that a later look tries again.
        read.outcome = TickOutcome::Failed;
    } else {
        Mark(cb, marker);
        clipboard.close();
        read.outcome = TickOutcome::Captured;
        if (read.snapshot.records <= 0) {
            // An empty clipboard, or an owner that never answered: nothing to keep.
            files::remove(temp);
            read.outcome = TickOutcome::Empty;
        }
    }
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
    // Another program may copy in the moment before ours lands: its copy wins.
    ps.platform.clipboard->yieldToCopiesSince(gone);
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

// In bulk capture the new clip also becomes the next bulk slot.
void AddCaptureToBulk(ProgramState& ps, const std::string& clipText, bool pendingTitleUsed) {
    const int newest = ps.lists.clipboardClips.count - 1;
    const int n = ps.settings.BulkCount;
    if (!AddToBulk(ps, {ListKind::ClipboardClips, newest})) return;
    // The bulk slot keeps the clip's own title even when the list shows a pending one.
    if (pendingTitleUsed) WriteSlotEntry(ps, {ListKind::Bulk, n}, SlotEntry{MakeTitle(clipText)});
    SaveSettings(ps);
}

// Files the snapshot once "clip.tmp" holds it.
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
    MonitorState& m = ps.monitor;
    if (m.read) {
        if (m.read->done) return FileRead(ps);  // arrived while the monitor was off
        m.readAgain = true;
        return TickOutcome::Reading;
    }
    auto* cb = ps.platform.clipboard.get();
    if (!cb) return TickOutcome::Busy;
    {
        // Who owns the clipboard is the server's to say, not the owner's: quick.
        OpenClipboard clipboard(*cb);
        if (!clipboard.isOpen()) return TickOutcome::Busy;
        const auto owner = cb->owner();
        const auto before = std::exchange(m.lastSeenOwner, owner);
        if (!owner && before && before == m.newestClipOwner && ps.lists.clipboardClips.count > 0) {
            clipboard.close();
            return KeepNewestAlive(ps, *before);
        }
        if (ps.clip.markerId == 0) ps.clip.markerId = cb->registerFormat(platform::kMarkerName);
    }

    auto read = std::make_shared<CaptureRead>();
    m.read = read;
    ReadWorker::Job job = [read, marker = ps.clip.markerId, temp = ClipTempPath(ps)](platform::Clipboard& c) {
        ReadClipboard(c, marker, temp, *read);
        read->done = true;
    };
    if (m.worker) m.worker->post(std::move(job));
    else if (m.runRead) m.runRead(std::move(job));
    else job(*cb);
    return read->done ? FileRead(ps) : TickOutcome::Reading;
}

TickOutcome FileRead(ProgramState& ps) {
    const auto read = std::exchange(ps.monitor.read, nullptr);
    if (!read || !read->done) return TickOutcome::Failed;
    if (read->outcome == TickOutcome::Failed) CaptureNotSaved(ps);
    if (read->outcome != TickOutcome::Captured) return read->outcome;
    if (ps.settings.CaptureMode == 1) {
        // Switched off while the read was under way.
        files::remove(ClipTempPath(ps));
        return TickOutcome::Off;
    }
    ps.clip.hasText = read->snapshot.hasText;
    ps.clip.clipText = std::move(read->snapshot.clipText);
    return FileSnapshot(ps, read->owner);
}

}  // namespace detail

// Runs step with the monitor off, so that nothing it does starts another
// capture; a step that throws ends as a failed tick, as every handler does.
template <typename Step>
TickOutcome WithMonitorOff(MonitorState& m, Step step) {
    m.enabled = false;
    TickOutcome outcome = TickOutcome::Failed;
    try {
        outcome = step();
    } catch (...) {
    }
    m.enabled = true;
    return outcome;
}

TickOutcome MonitorOwnerChanged(ProgramState& ps) {
    MonitorState& m = ps.monitor;
    if (!m.enabled) return TickOutcome::Disabled;  // the next tick looks anyway
    if (ps.settings.CaptureMode == 1) {
        m.lastSeenOwner.reset();
        return TickOutcome::Off;
    }
    return WithMonitorOff(m, [&] { return detail::CaptureClipboard(ps); });
}

TickOutcome MonitorReadArrived(ProgramState& ps) {
    MonitorState& m = ps.monitor;
    if (!m.enabled || !m.read || !m.read->done) return TickOutcome::Disabled;
    const TickOutcome outcome = WithMonitorOff(m, [&] { return detail::FileRead(ps); });
    // The clipboard changed hands during the read: the new content next, at once.
    if (std::exchange(m.readAgain, false)) MonitorOwnerChanged(ps);
    return outcome;
}

bool StartReadWorker(ProgramState& ps, std::function<void()> arrived, std::function<void()> ownerChanged) {
    auto* cb = ps.platform.clipboard.get();
    if (!cb || ps.monitor.worker) return false;
    auto handle = cb->readingHandle();
    if (!handle) return false;
    ps.monitor.worker = std::make_unique<ReadWorker>(std::move(handle), std::move(arrived));
    if (ownerChanged) cb->watchOwner(std::move(ownerChanged));
    return true;
}

}  // namespace pellion
