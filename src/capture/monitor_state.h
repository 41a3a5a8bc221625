#pragma once
// The clipboard monitor's state: its timer switch, tick counter and caption,
// the flags that other modules set for the next capture, and what the
// widgets do for it.
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/caption.h"
#include "capture/monitor.h"
#include "capture/read_worker.h"
#include "platform/clipboard.h"
#include "platform/windows.h"
#include "store/clip_file.h"

namespace pellion {

// What the monitor and the mode switches ask of the widgets. An empty hook
// does nothing.
struct MonitorHooks {
    std::function<void(const std::string&)> setCaption;  // the main window's caption
    std::function<void()> refresh;                       // show mainForm again
    std::function<void()> enableEdgeTimer;               // the screen-edge strip's timer
    std::function<void()> processEvents;                 // while the clipboard is busy
    std::function<DateTime()> now;                       // DateTime::now when empty
    // Shows the help menu window without waiting for it to close.
    std::function<void()> showHelpMenu;
};

// One look at the clipboard, made away from the user interface: what it came
// to is set before done.
struct CaptureRead {
    std::atomic<bool> done{false};
    TickOutcome outcome = TickOutcome::Failed;  // Captured: "clip.tmp" holds the snapshot
    std::optional<platform::OwnerStamp> owner;
    Snapshot snapshot;
};

struct MonitorState {
    // The 1000 ms timer runs the tick only while enabled: start-up enables
    // it last, a tick disables it for its own length, a paste keeps it off.
    bool enabled = false;
    int tickCounter = 0;  // 0..5
    std::string lastDateText;

    // Set by the paste engine (ClearOption "Batch"): the next capture first
    // empties the Clipboard Clips.
    bool clearBeforeNextCapture = false;
    // Set by the clip editor: the next capture takes this title.
    bool pendingTitleSet = false;
    std::string pendingTitle;

    // A copy could not be saved; the user was told, once.
    bool notSaved = false;

    platform::WindowId edgeStrip = 0;  // the screen-edge strip's window, once it exists

    // The owner whose content became the newest Clipboard Clip, while that
    // clip still is the newest; and the owner the last look at the
    // clipboard found. Both serve content that its owner took away on exit.
    std::optional<platform::OwnerStamp> newestClipOwner;
    std::optional<platform::OwnerStamp> lastSeenOwner;

    MonitorHooks hooks;

    // Where clipboard reads run: the worker's thread when there is one, else
    // runRead, else at once on the caller's thread.
    std::unique_ptr<ReadWorker> worker;
    std::function<void(ReadWorker::Job)> runRead;
    // The read under way, or arrived and not yet filed (the monitor was off).
    std::shared_ptr<CaptureRead> read;
    bool readAgain = false;  // asked to look while a read was under way
};

}  // namespace pellion
