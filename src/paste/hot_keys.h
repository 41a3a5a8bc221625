#pragma once
// The keyboard hook's watched combinations and what their release does:
// Alt+letter pastes a "Hot Key Clips" clip, Ctrl+digit a Clipboard Clip, a
// few Ctrl keys clear, switch hot keys off and on or start a bulk paste; the
// user's own paste keystroke elsewhere brings the main window up.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/hooks.h"
#include "ui/logic/form_design.h"

namespace pellion {

struct ProgramState;

inline constexpr int kHotKeyLetters = 26;

// Letter i (A = 0) owns slot i of group 22; its title comes from
// "group22.dat" in the data folder. Blank: the letter is not assigned.
std::array<std::string, kHotKeyLetters> ReadHotKeyTitles(const ProgramState& ps);

// Rebuilds the watched set for the on state. Returns the combinations that
// another program holds (they are not watched).
std::vector<std::uint32_t> HotKeysOn(ProgramState& ps);
// Removes every combination of the hot key table.
void HotKeysOff(ProgramState& ps);
// Ctrl+Insert or Ctrl+B by BulkOption, while hot keys are on.
void SetBulkKeyDetection(ProgramState& ps);
// Shift+Insert, Ctrl+V, both or none by KeysOption; watched whether hot keys
// are on or off.
void SetPasteKeyDetection(ProgramState& ps);
// A Hot Key Clips slot got a clip (assigned) or lost it: watch its letter
// while hot keys are on.
void WatchHotKeyLetter(ProgramState& ps, int letter, bool assigned);

// A watched combination as the user reads it: "Alt+A", "Ctrl+1", "Ctrl+Num 1".
std::string KeyName(std::uint32_t code);
// Tells the user (PasteHooks::tellUser) which refused combinations do not
// work, each once a run.
void TellRefusedKeys(ProgramState& ps);

// The keyboard hook's report of a released combination.
void KeyReleased(ProgramState& ps, platform::KeyRelease key);
// The "HotKeys Off" check box.
void HotKeyOnOffClick(ProgramState& ps, ui::MouseButton button);
// The check box shows the switch: checked and light red while hot keys are off.
void ShowHotKeySwitch(ProgramState& ps);

// Routes the platform hooks' key and click reports to KeyReleased and
// NextClickEvent, then PasteHooks::formChanged.
void ConnectHookEvents(ProgramState& ps);

}  // namespace pellion
