#pragma once
// The clipboard monitor's state: its timer switch, tick counter and caption,
// the flags that other modules set for the next capture, and what the
// widgets do for it.
#include <functional>
#include <optional>
#include <string>

#include "app/caption.h"
#include "platform/clipboard.h"
#include "platform/windows.h"

namespace pellion {

// What the monitor and the mode switches ask of the widgets. An empty hook
// does nothing.
struct MonitorHooks {
    std::function<void(const std::string&)> setCaption;  // the main window's caption
    std::function<void()> refresh;                       // show mainForm again
    std::function<void()> enableEdgeTimer;               // the screen-edge strip's timer
    std::function<void()> processEvents;                 // while the clipboard is busy
    std::function<DateTime()> now;                       // DateTime::now when empty
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
};

}  // namespace pellion
