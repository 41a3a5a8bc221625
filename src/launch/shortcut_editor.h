#pragma once
// The shortcut editor without its widgets: what it shows when it opens, what
// each drag may start and each drop does, and what Save checks and writes.
#include <optional>
#include <string>

#include "app/colours.h"
#include "launch/shortcut_files.h"
#include "store/list_model.h"

namespace pellion {

struct ProgramState;

// A slot number of 1000 or more opens the editor to make a new shortcut from
// the clipboard's text for slot number - 1000.
inline constexpr int kCreateShortcutSlot = 1000;

struct EditorState {
    ShortcutRecord fields;
    Bookmarks marks;
    std::string folder;        // the folder list's current folder
    std::string selectedFile;  // the file list's selected name; empty when none
    std::string pattern = "*.*";
    ListKind list = ListKind::GroupClips;  // GroupClips or TransferSlots
    int slot = 0;
    Colour colour = 0;  // the slot's colour; 0 the list's default
};

// Opens on a slot. Creating: the file field takes the clip's text without one
// enclosing pair of double quotes. Editing: the record's fields; a slot file
// that is empty is deleted. The bookmarks and the last folder come from
// "book.mrk" (home when that folder is gone).
EditorState OpenEditor(ProgramState& ps, ListKind list, int slot, const std::string& clipText,
                       const std::string& home);

// The drag sources and drop targets, by what they carry.
enum class EditorItem { FolderLabel, FileLabel, FileField, StartField, CommandField, Bookmark, Filter, Trash };
struct EditorPlace {
    EditorItem item;
    int index = 0;  // Bookmark, Filter
};

// The selected file's full path; empty when none is selected.
std::string SelectedPath(const EditorState& e);
// "*" and the last four characters when they start with "."; else none.
std::optional<std::string> ExtensionPattern(const std::string& fileName);

// A file list pattern: wildcards joined by ";", letter case ignored; "*.*"
// takes every name, with or without a dot.
bool MatchesFilter(const std::string& name, const std::string& filter);

// Only what holds something can be dragged (the file label with a file
// selected, a field, bookmark or filter that is not empty).
bool CanDrag(const EditorState& e, EditorPlace from);
// What a drop does; false when the target takes nothing from this source.
bool Drop(EditorState& e, EditorPlace from, EditorPlace to);

enum class SaveRefusal { None, NoFile, NoTitle, FileTooLong, StartTooLong, CommandTooLong };
SaveRefusal CheckSave(const EditorState& e);
const char* RefusalText(SaveRefusal refusal);  // shown in the field concerned

// Writes the record into the slot file, the title and colour into the
// list's index (the paste mode stays), then "book.mrk". Colour 0 is the
// list's default. False when something could not be written.
bool SaveShortcut(ProgramState& ps, const EditorState& e, Colour colour);
bool SaveBookmarks(ProgramState& ps, const EditorState& e);

}  // namespace pellion
