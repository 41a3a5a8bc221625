#pragma once
// What the paste engine and the hot keys keep between events, and what they
// ask of the window layer and of modules that come later.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "store/list_model.h"

namespace pellion {

// Keys typed around the paste keystroke.
enum class KeyMode : std::uint8_t { Plain = 0, Bookmark = 1, FormFilling = 2 };
// What the paste timer does when it fires.
enum class PastePending : std::uint8_t { Nothing = 0, Keys = 1, Bulk = 2 };

inline constexpr int kPasteTimerMs = 150;  // one-shot

// Bound by the window layer; an empty hook does nothing. The timers are
// QTimers there and driven by hand in tests.
struct PasteHooks {
    std::function<void(bool enabled)> pasteTimer;    // one-shot kPasteTimerMs, fires PasteTimerTick
    std::function<void(bool enabled)> monitorTimer;  // the clipboard monitor's 1 s timer
    std::function<void()> processEvents;             // let pending window events run
    std::function<void(bool busy)> busyPointer;      // the hourglass while a clip is restored
    // The form state changed outside a widget's handler (hook events).
    std::function<void()> formChanged;

    std::function<void()> cancelDrag;                           // a drag that the mouse press prepared
    std::function<void(ListKind list, int slot)> openViewer;    // any click but the left one
    std::function<bool()> viewerRefusesPaste;                   // the viewer shows a picture
    std::function<void()> pasteIntoViewer;                      // the clipboard's text at the viewer's caret
    std::function<void(const std::string& path)> launchShortcut;  // a slot that holds a shortcut record
    // The shortcut editor on a slot; slot + 1000 makes a new shortcut from a dropped clip's text.
    std::function<void(ListKind list, int slot, const std::string& clipText)> openShortcutEditor;
    std::function<void()> clearClipboardClips;                  // Ctrl+0
    std::function<void()> bulkPaste;                            // Ctrl+B or Ctrl+Insert, 150 ms later
    // A note for the user that must not stop the program (hot keys refused).
    std::function<void(const std::string& text)> tellUser;
};

struct PasteState {
    KeyMode keyMode = KeyMode::Plain;
    PastePending pending = PastePending::Nothing;
    bool nextClickArmed = false;
    bool hotKeysOff = false;  // not saved: hot keys start on
    std::vector<std::uint32_t> refusedKeys;  // combinations another program holds
    std::vector<std::uint32_t> refusalsTold;  // each is told to the user once a run
    PasteHooks hooks;
};

}  // namespace pellion
