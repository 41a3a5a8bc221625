#pragma once
// The screen-edge strip: pushing the pointer against an enabled screen edge,
// away from the corners, shows a small strip there whose button brings the
// main window up; leaving the strip hides it again.
#include <optional>

#include "platform/windows.h"

namespace pellion {
struct ProgramState;
struct SettingsRecord;
}

namespace pellion::ui {

// The strip's button, as designed; the window is sized to it.
inline constexpr int kEdgeStripWidth = 1056, kEdgeStripHeight = 336;
inline constexpr int kEdgeTimerMs = 200, kEdgeOffTimerMs = 100;

struct EdgeScreen {
    int width = 0, height = 0;  // twips
    double twipsPerPixel = 15;
};

// Where the strip goes: its corner in twips, its centre in pixels.
struct StripPlace {
    int left = 0, top = 0;
    platform::Point centre;
    bool operator==(const StripPlace&) const = default;
};

// The pointer (pixels) touches an enabled edge away from its corners; edges
// are tried top, bottom, left, right.
std::optional<StripPlace> EdgeHit(platform::Point pointer, const EdgeScreen& screen, const SettingsRecord& edges,
                                  int stripWidth, int stripHeight);
// The pointer is off the strip's rectangle (centre and size as shown).
bool PointerOffStrip(platform::Point pointer, platform::Point centre, int stripWidth, int stripHeight,
                     double twipsPerPixel);

struct EdgeState {
    bool watching = false;       // the 200 ms edge timer runs
    bool leaveWatching = false;  // the 100 ms leave timer runs
    bool shown = false;
    StripPlace place;
    int width = kEdgeStripWidth, height = kEdgeStripHeight;  // twips, as the window came out
    double twipsPerPixel = 15;                              // of the screen the pointer moves on
};

// The timers' handlers; the strip's widget shows the state afterwards.
void EdgeTimerTick(ProgramState& ps);
void EdgeOffTimerTick(ProgramState& ps);
// The strip's button: hidden, and the main window brought up.
void EdgeStripClick(ProgramState& ps);
void HideEdgeStrip(ProgramState& ps);

}  // namespace pellion::ui
