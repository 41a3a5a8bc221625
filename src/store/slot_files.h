#pragma once
// Slot files (one clip data file per filled slot, treated here as opaque
// whole files) and the operations that drag and drop, capture and the
// dialogs build on: copy, move and delete a clip, file a new capture.
#include <cstdint>
#include <optional>
#include <string>

#include "store/list_model.h"

namespace pellion {

struct ProgramState;

// One slot of a list. For Group Clips, group -1 is the loaded group and an
// empty library is the current library's folder (group 22 is always in the
// data folder).
struct SlotRef {
    ListKind list;
    int slot;
    int group = -1;
    std::string library{};
};

// What an index keeps for a slot.
struct SlotEntry {
    std::string title;
    std::uint8_t mode = kModeGroupSetting;
    Colour colour = 0;  // 0: the list's default colour
};

// "clip." + n, "trans." + n, "group" + G + "." + n, "bulk." + n in their
// folders; empty for a slot outside its list or for a list without files.
std::string SlotPath(const ProgramState& state, const SlotRef& slot);
// GroupStem: the current group's folder + "group" + G + ".".
void ComputeGroupStem(ProgramState& state);

// Primitives on whole slot files and on single index entries in place.
bool DeleteSlotFile(const std::string& path);  // true when gone, also when it never existed
bool CopySlotFile(const std::string& from, const std::string& to);  // target replaced only once complete
bool RenameSlotFile(const std::string& from, const std::string& to);
bool WriteTitleAt(const std::string& indexFile, int n, const std::string& title);  // at n*50, 50 bytes
std::string ReadTitleAt(const std::string& indexFile, int n);
bool WriteModeAt(const std::string& indexFile, int n, std::uint8_t code);  // the byte at n
std::uint8_t ReadModeAt(const std::string& indexFile, int n);                // 3 when absent
bool WriteColourAt(const std::string& indexFile, int n, Colour colour);    // i32 at n*4
Colour ReadColourAt(const std::string& indexFile, int n);                  // 0 when absent

// A group's three index files brought to their full layout (new-file
// content where missing, a short file extended), so patches keep the layout.
bool EnsureGroupFiles(const std::string& folder, int group);

std::optional<SlotEntry> ReadSlotEntry(const ProgramState& state, const SlotRef& slot);
// Writes an entry to the model (loaded lists) and to the index files.
// A Transfer Slot given an entry holds a clip (state -1).
bool WriteSlotEntry(ProgramState& state, const SlotRef& slot, const SlotEntry& entry);

// Copies the slot file and the entry. From a Clipboard Clip or a bulk slot
// only the title comes along; the target keeps its paste mode and colour.
// Fails without any change when the source file cannot be copied, when the
// source is a group reference, or when the target is a Clipboard Clip.
bool CopyClipToSlot(ProgramState& state, const SlotRef& from, const SlotRef& to);
// Copy, then empty the source (a Transfer Slot or group clip).
bool MoveClipToSlot(ProgramState& state, const SlotRef& from, const SlotRef& to);
// Empties a Transfer Slot or group clip: its file goes, its title is blank,
// its mode 3 and its colour the default; the index is written.
bool DeleteClip(ProgramState& state, const SlotRef& slot);
// Files "clip.tmp" as the newest Clipboard Clip with this title, shifting
// the list when all 9 slots are used, and rewrites "clip.dat".
bool FileCapturedClip(ProgramState& state, const std::string& title);
// Empties the Clipboard Clips: count 0, blank titles, clip files deleted.
bool EmptyClipboardClips(ProgramState& state);
// Copies a clip to bulk slot BulkCount and counts it; refused at 96.
bool AddToBulk(ProgramState& state, const SlotRef& from);
// Deletes the bulk files and "bulk.dat"; BulkCount 0, CaptureMode normal.
bool ClearBulkCache(ProgramState& state);
// A Transfer Slot that refers to a whole group of the current library.
bool StoreGroupReference(ProgramState& state, int slot, int group);

}  // namespace pellion
