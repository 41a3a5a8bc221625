#pragma once
// The switches beside the Clipboard Clips that steer capture and paste: the
// capture-mode options, "Text Only", the two paste-mode option groups and
// "Clear". Each handler changes the settings and ProgramState::mainForm; the
// widgets show the result. These are the left-click actions; other buttons
// open quick help, which the widgets route by topic.
namespace pellion {

struct ProgramState;

// k: 0 "Normal", 1 "Off", 2 "Bulk". Clicking the selected option returns to
// "Normal"; clicking "Off" while off also marks the clipboard as seen, so
// nothing copied meanwhile is captured. Choosing "Bulk" with an empty cache
// seeds it with the Clipboard Clips.
void CaptureModeClick(ProgramState& ps, int k);

// Toggles the text-only switch (not saved).
void TextOnlyClick(ProgramState& ps);

// k: 0 "Normal", 1 "N", 2 "B", 3 "F"; the selected option switches back to
// "Normal". The group mode is also written into "mode.dat" of the folder
// that holds the current group.
void ClipModeClick(ProgramState& ps, int k);
void GroupModeClick(ProgramState& ps, int k);

// "Clear", then in the strip or compact layout the paste target comes back
// to the front.
void ClearButtonClick(ProgramState& ps);

}  // namespace pellion
