#pragma once
// Copies that cannot be saved (a full disk, a folder that cannot be written)
// are reported once, on standard error and in the main window's caption,
// until a copy is saved again.
#include <string>

namespace pellion {

struct ProgramState;
struct DateTime;

void CaptureNotSaved(ProgramState& ps);
void CaptureSaved(ProgramState& ps);
// The main window's caption now: the usual one, and the notice while it stands.
std::string ShownCaption(const ProgramState& ps, const DateTime& now);

inline constexpr const char* kNotSavedNotice = "   Copies are not saved: the data folder is full or cannot be written";

}  // namespace pellion
