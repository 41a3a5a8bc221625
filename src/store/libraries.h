#pragma once
// Libraries: 26 user libraries, the Diary (27), the Address Book (28) and the
// Launch Pad (29), each a folder "lib" + n of 32 groups below the data
// folder. Names live in "lib.dat" (20-byte records), the library to return to
// from the Launch Pad in "last.lib", each library's last group in "last.grp".
#include <array>
#include <string>

namespace pellion {

struct ProgramState;

inline constexpr int kUserLibraries = 26;
inline constexpr int kDiary = 27;
inline constexpr int kAddressBook = 28;
inline constexpr int kLaunchPad = 29;
inline constexpr int kLibraries = 29;
inline constexpr std::size_t kLibraryNameBytes = 20;
inline constexpr std::size_t kFirstLibraryNamesSize = 560;  // 28 records
inline constexpr std::size_t kLibraryNamesSize = 580;       // 29 records

// The folder of library n, ending with "/": an existing "lib" + n in any
// letter case, else the lower-case name.
std::string LibraryFolderFor(const std::string& dataFolder, int library);
// Makes library n current in memory (settings and folder); n outside 1..29
// gives library 1. Nothing is read or written.
void UseLibrary(ProgramState& state, int library);

// The 29 names: user records of "lib.dat" right-trimmed (created with its
// first content when empty), then the fixed "Diary", "Address Book",
// "Launch Pad".
std::array<std::string, kLibraries> LoadLibraryNames(ProgramState& state);
// The name a library shows: its record, or "Library" + " " + n when blank.
std::string LibraryName(ProgramState& state, int library);
// Puts the current library's name on the library label.
void ShowLibraryName(ProgramState& state);
// Writes all 29 records (580 bytes): the 26 user names left-trimmed, then
// the fixed three.
bool SaveLibraryNames(ProgramState& state, const std::array<std::string, kUserLibraries>& userNames);

// Creates the library folder and loads or creates "groups.dat" (with the
// Address Book letters or the Diary months for those libraries) and
// "groups.clr" into the Group Names.
bool PrepareGroupNames(ProgramState& state);
// The 32 hot key labels: day numbers of the current month in the Diary,
// "A." .. "Z." elsewhere.
void FillHotKeyLabels(ProgramState& state);
// Labels 0..25 again, as a group load does.
void SetLetterLabels(ProgramState& state);
int DaysInDiaryMonth(int group);

// Makes library n current: remembers the old library's group in its
// "last.grp", reads the new one's, reloads names, labels and the group.
// Entering the Launch Pad writes "last.lib". The caller saves the settings.
bool SwitchLibrary(ProgramState& state, int library);
// The Launch Pad button: enters the Launch Pad, or leaves it for the library
// (and its name) kept in "last.lib".
bool ToggleLaunchPad(ProgramState& state);

// True when any group title file of the folder holds a non-blank title.
bool LibraryHoldsTitledClip(const std::string& libraryFolder);
// Moves library `from`'s folder to number `to` (whose folder and files go
// first) and leaves an empty folder for `from`. Only into a user library that
// holds no titled clip; false when refused or a file operation failed. The
// names file is the caller's.
bool MoveLibraryFolder(const std::string& dataFolder, int from, int to);

// Start-up: hot key labels, group names, group stem, library name,
// Clipboard Clips, Transfer Slots, the current group, the bulk cache.
bool LoadAllLists(ProgramState& state);

}  // namespace pellion
