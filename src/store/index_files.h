#pragma once
// The index files of the lists: titles, paste-mode codes and colours in
// fixed layouts (little-endian, no header). Loaders take an empty or missing
// file as new and write its new-file content; a file that cannot be read
// leaves the model as it is; short files and out-of-range values are read as
// far as they go and brought into range. Whole files are replaced atomically.
#include <string>

#include "platform/files.h"
#include "store/list_model.h"

namespace pellion {

struct ProgramState;

inline constexpr std::size_t kClipIndexSize = 452;       // "clip.dat"
inline constexpr std::size_t kTransIndexSize = 416;      // "trans.dat"
inline constexpr std::size_t kGroupNamesSize = 1600;     // "groups.dat"
inline constexpr std::size_t kGroupColoursSize = 128;    // "groups.clr"
inline constexpr std::size_t kGroupModesSize = 64;       // "mode.dat"
inline constexpr std::size_t kGroupTitlesSize = 4800;    // "group" + G + ".dat"
inline constexpr std::size_t kGroupClipModesSize = 96;   // "group" + G + ".mod"
inline constexpr std::size_t kGroupClipColoursSize = 384;  // "colr" + G + ".dat"

// A file of folder by its lower-case name, matched ignoring case.
std::string FileIn(const std::string& folder, const std::string& name);
// The folder that holds group G's files: the data folder for group 22, else
// libraryFolder (the current library's when empty).
std::string GroupFolder(const ProgramState& state, int group, const std::string& libraryFolder = {});
std::string GroupTitlesPath(const std::string& folder, int group);   // "group" + G + ".dat"
std::string GroupModesPath(const std::string& folder, int group);    // "group" + G + ".mod"
std::string GroupColoursPath(const std::string& folder, int group);  // "colr" + G + ".dat"

// "clip.dat". With ClearOption 0 or an empty file the list starts empty and
// the file is rewritten empty.
bool LoadClipboardClips(ProgramState& state);
// Whether "clip.dat" holds a count of 0..9. False when it is missing, empty
// or damaged (shorter than the count, a count outside 0..9): it then cannot
// tell which clip files are stored.
bool ClipIndexHoldsACount(const ProgramState& state);
bool SaveClipboardClips(ProgramState& state);
// What SaveClipboardClips writes for this list.
files::Bytes ClipboardClipsBytes(const ClipboardClipsList& list);

// "trans.dat", "trans.mod", "trans.clr". Group references do not survive a
// restart: a stored state other than -1 comes back as an empty slot, state 1.
bool LoadTransferSlots(ProgramState& state);
bool SaveTransferSlots(ProgramState& state);

// The current group (settings.CurrentGroup, out-of-range becomes 0): its
// titles, modes and colours, and GroupMode from "mode.dat" of its folder.
bool LoadCurrentGroup(ProgramState& state);
bool SaveCurrentGroup(ProgramState& state);
// Writes settings.GroupMode at the current group's entry of the same
// "mode.dat" that LoadCurrentGroup reads.
bool SaveGroupMode(ProgramState& state);

// "groups.dat" and "groups.clr" of the current library from the model.
bool SaveGroupNames(ProgramState& state);
bool SaveGroupColours(ProgramState& state);

// The bulk titles from "bulk.dat", BulkCount of them (kept within 0..96).
bool LoadBulkCache(ProgramState& state);

// Re-reads the stored colours of the Transfer Slots, the loaded group and the
// group names, and returns what every cell shows (the widgets apply it).
ListLook ApplyListColours(ProgramState& state);
// What one cell shows now: its own colour (0 gives the list default), or the
// highlight colours for the current group's name and the highlight bar.
CellLook LookOf(const ProgramState& state, ListKind list, int index);

// How a stored colour and a paste code are brought into range on reading.
Colour StoredColour(std::int32_t value);  // outside 0..&HFFFFFF gives 0
std::uint8_t ClipModeCode(int value);     // outside 0..4 gives 3
std::int16_t GroupModeCode(int value);    // outside 0..3 gives 0

}  // namespace pellion
