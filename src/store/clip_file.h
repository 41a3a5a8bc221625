#pragma once
// The clip data file: one clipboard content with every format's bytes, and
// its exchange with the system clipboard under the private marker format.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace pellion {

struct ProgramState;
namespace platform {
class Clipboard;
}

// What the last snapshot left for its caller, and the switches of a restore.
struct ClipState {
    bool hasText = false;        // a text block (format 1) was stored
    std::string clipText;        // where its title comes from (see Snapshot)
    std::uint32_t markerId = 0;  // "PellionClips" as registered in this run
    bool textOnly = false;       // restores put back text formats alone
    bool viewerOpen = false;     // the clip viewer takes the focus after a restore
};

inline constexpr const char* kClipTempName = "clip.tmp";

// Object-embedding formats refer to a live source program and are never kept.
bool IsExcludedFormat(const std::string& name);

std::string ClipTempPath(const ProgramState& state);

// What a snapshot found.
struct Snapshot {
    bool hasText = false;
    // The start of the text block: from its first byte above 32 on, enough
    // for a title and no more (a NUL within it stays).
    std::string clipText;
    int records = 0;
};

// The clipboard cb is open. Writes every format into the clip file at path
// (marker -1, the record count, then the records), each format, text
// included, streamed to disk as its pieces arrive. Touches nothing but cb and path, so it may run
// on any thread. False when the file could not be written whole; the file is
// then gone, never stale.
bool WriteSnapshot(platform::Clipboard& cb, const std::string& path, Snapshot& out);

// WriteSnapshot into "clip.tmp" with the program's clipboard; sets hasText
// and clipText.
bool SnapshotClipboard(ProgramState& state);

// The clipboard is open. Adds the "ok" block under the marker format.
bool AddMarker(ProgramState& state);

// Marks whatever the clipboard holds now as already seen. Opening is retried
// with processEvents between tries for up to patience; false when it never
// opened (nothing was marked).
bool RegisterMarker(ProgramState& state, const std::function<void()>& processEvents,
                    std::chrono::milliseconds patience = std::chrono::seconds(5));

enum class RestoreResult {
    Restored,     // every record is on the clipboard, with the marker
    Truncated,    // the file ended inside a record: the whole ones, with the marker
    Busy,         // the clipboard would not open: nothing changed (text of a text-only file aside)
    Interrupted,  // the marker was refused: the blocks without it
};

// Puts the clip file at path on the clipboard in place of its content and adds
// the marker. Reads the named, text-only and unnamed layouts; a missing or
// empty file gives an empty clipboard with the marker. Formats made on
// Windows are served as what they mean here; a format that cannot be served
// is left out.
RestoreResult RestoreClipFile(ProgramState& state, const std::string& path);

// The text block of a clip file as a snapshot keeps it (format 1, or the
// text of the text-only layout); nullopt when the file holds no text.
std::optional<std::string> ClipFileText(const std::string& path);

enum class AfterRestore { Nothing, FocusViewer, Minimised };
// After a restore the program steps back so that the user's program gets the
// focus: the main window minimises unless it is kept up (on top, or a slot of
// 1000 or more that is about to become a shortcut).
AfterRestore FollowUpRestore(ProgramState& state, int lastSelectedSlot);

}  // namespace pellion
