#pragma once
// "pellion.ini": the settings record as 113 bytes, and its load-time repair.
#include <cstdint>
#include <vector>

#include "app/settings_record.h"
#include "platform/windows.h"

namespace pellion {

struct ProgramState;

inline constexpr const char* kSettingsFileName = "pellion.ini";
inline constexpr const char* kVersionMarker = "PCV4.00";

// The file image; a short input leaves the unread fields zero.
std::vector<std::uint8_t> EncodeSettings(const SettingsRecord& record);
SettingsRecord DecodeSettings(const std::vector<std::uint8_t>& bytes);

// The record of a first run (or a version change) on a screen of this size.
SettingsRecord DefaultSettings(platform::Point screenTwips);

// Reads the file and replaces it with defaults when it is missing, empty or of
// another version (keeping BulkCount of an earlier version of the record).
void LoadSettings(ProgramState& state);
// Writes the whole record; a failure is silent, the record in memory stays.
bool SaveSettings(const ProgramState& state);

// Off-screen positions and the on-top flag of the full layout (not saved).
void ValidateAgainstScreen(SettingsRecord& record, platform::Point screenTwips);
// The range checks that run once the library is prepared (not saved).
void ValidateRanges(SettingsRecord& record, platform::Point screenTwips);

// The screen size of the windows service, or a common screen without one.
platform::Point ScreenSizeTwips(const ProgramState& state);

}  // namespace pellion
