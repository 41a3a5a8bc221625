#pragma once
// Putting a slot's clip back on the clipboard, as a paste or a hot key does.
#include <cstdint>
#include <string>

#include "store/clip_file.h"
#include "store/slot_files.h"

namespace pellion {

// A slot file whose first 16-bit integer is this holds a Launch Pad shortcut,
// not a clip.
inline constexpr std::int16_t kShortcutMarker = 999;

bool IsShortcutRecord(const std::string& path);

// The slot's clip file onto the clipboard (a missing file gives an empty
// clipboard with the marker), then the main window steps back. A slot
// outside its list changes nothing and gives Busy.
RestoreResult RestoreClip(ProgramState& state, const SlotRef& slot);

}  // namespace pellion
