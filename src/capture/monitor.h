#pragma once
// The clipboard monitor: once a second it files content that the program
// has not seen as the newest Clipboard Clip, keeps track of the paste target
// and does the main window's upkeep.
#include <functional>
#include <string>

namespace pellion {

struct ProgramState;

// What the clipboard part of a tick came to.
enum class TickOutcome {
    Disabled,   // the timer was off: nothing ran
    Off,        // capture mode "Off"
    Busy,       // the clipboard would not open; the next tick tries again
    Seen,       // the marker is there: nothing new
    Captured,   // filed as the newest Clipboard Clip
    Secret,     // a password manager's secret: marked, never written
    Empty,      // nothing readable (no formats, or an owner that does not answer): marked
    KeptAlive,  // the owner of the newest clip exited: that clip is served again
    Failed,     // a file could not be written: the tick ended, the next one retries
    Reading,    // a read is under way; what it finds is filed when it arrives
};

// The timer's handler. Runs only while ps.monitor.enabled, and leaves the
// timer enabled whatever happens inside.
TickOutcome MonitorTick(ProgramState& ps);

// The CLIPBOARD changed hands: the capture part of the tick runs at once,
// with every rule of the tick (off, kept off, the marker, secrets...).
TickOutcome MonitorOwnerChanged(ProgramState& ps);

// A read finished on the worker's thread: files what it found, unless the
// monitor is off for the moment (a pending paste), then a later tick does.
// A look asked for meanwhile starts at once.
TickOutcome MonitorReadArrived(ProgramState& ps);

// Sends the monitor's reads to a thread of their own when the clipboard
// offers a handle for it, and watches for owner changes; arrived and
// ownerChanged are called on other threads, to be passed to the user
// interface's thread. False when reads stay on the caller's thread.
bool StartReadWorker(ProgramState& ps, std::function<void()> arrived, std::function<void()> ownerChanged);

// The 50-byte title of a clip text: leading bytes 0..32 dropped, then the
// first 50 bytes (never half a UTF-8 character), blank-padded. A text block's
// NUL within those 50 stays in the title.
std::string MakeTitle(const std::string& text);
inline constexpr const char* kNonTextTitle = "Non Text Clip.";

// The "Clear" action: empties the Clipboard Clips, or with none of those the
// bulk cache ("Clear Bulk").
void ClearClipboardClips(ProgramState& ps);

// The Clipboard Clips cells show the list's titles.
void ShowClipboardClips(ProgramState& ps);

namespace detail {
// The capture part of the tick: look at the clipboard and capture.
TickOutcome CaptureClipboard(ProgramState& ps);
// Files the read that has arrived.
TickOutcome FileRead(ProgramState& ps);
// Shows the main form again through the widgets' hook.
void Refresh(ProgramState& ps);
}  // namespace detail

}  // namespace pellion
