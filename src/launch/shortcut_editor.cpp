#include "launch/shortcut_editor.h"

#include "app/program_state.h"
#include "platform/launch_checks.h"
#include "store/slot_files.h"

namespace pellion {

namespace {

std::string WithoutTrailingBlanks(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string* Field(EditorState& e, EditorItem item) {
    switch (item) {
    case EditorItem::FileField: return &e.fields.file;
    case EditorItem::StartField: return &e.fields.start;
    case EditorItem::CommandField: return &e.fields.command;
    default: return nullptr;
    }
}

bool ValidIndex(EditorPlace p) {
    const int size = p.item == EditorItem::Bookmark ? kBookmarks : kFilters;
    return p.index >= 0 && p.index < size;
}

std::string& Bookmark(EditorState& e, int i) { return e.marks.folders[std::size_t(i)]; }
std::string& Filter(EditorState& e, int i) { return e.marks.filters[std::size_t(i)]; }

bool DropOnField(EditorState& e, EditorPlace from, std::string& field, EditorItem target) {
    switch (from.item) {
    case EditorItem::FolderLabel: field = e.folder; return true;
    case EditorItem::FileLabel: {
        if (target == EditorItem::StartField) return false;
        const std::string path = SelectedPath(e);
        field = path;
        // A program starts in its own folder unless told otherwise.
        if (target == EditorItem::FileField && platform::isProgramFile(path)) e.fields.start = FolderOf(path);
        return true;
    }
    case EditorItem::FileField:
    case EditorItem::StartField:
    case EditorItem::CommandField: field = *Field(e, from.item); return true;
    case EditorItem::Bookmark:
        if (target != EditorItem::StartField) return false;
        field = Bookmark(e, from.index);
        return true;
    default: return false;
    }
}

}  // namespace

EditorState OpenEditor(ProgramState& ps, ListKind list, int slot, const std::string& clipText,
                       const std::string& home) {
    EditorState e;
    e.list = list;
    const bool creating = slot >= kCreateShortcutSlot;
    e.slot = creating ? slot - kCreateShortcutSlot : slot;
    if (const auto entry = ReadSlotEntry(ps, {list, e.slot})) e.colour = entry->colour;
    if (creating) {
        // Text blocks end in a NUL; a copied line may end in a line break.
        std::string text = clipText.substr(0, clipText.find('\0'));
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        if (!text.empty() && text.front() == '"') text.erase(0, 1);
        if (!text.empty() && text.back() == '"') text.pop_back();
        e.fields.file = text;
    } else {
        const std::string path = SlotPath(ps, {list, e.slot});
        if (const auto record = ReadShortcut(path))
            e.fields = *record;
        else if (files::size(path) == 0)
            files::remove(path);
    }
    e.marks = ReadBookMrk(files::resolve(ps.dataFolder, kBookMrkName));
    e.folder = files::isFolder(e.marks.lastFolder) ? e.marks.lastFolder : home;
    return e;
}

std::string SelectedPath(const EditorState& e) {
    if (e.selectedFile.empty()) return {};
    return e.folder + (!e.folder.empty() && e.folder.back() == '/' ? "" : "/") + e.selectedFile;
}

std::optional<std::string> ExtensionPattern(const std::string& fileName) {
    if (fileName.size() < 4 || fileName[fileName.size() - 4] != '.') return std::nullopt;
    return "*" + fileName.substr(fileName.size() - 4);
}

bool MatchesFilter(const std::string& name, const std::string& filter) {
    std::size_t start = 0;
    while (start <= filter.size()) {
        auto end = filter.find(';', start);
        if (end == std::string::npos) end = filter.size();
        const std::string one = filter.substr(start, end - start);
        if (one == "*.*" || (!one.empty() && files::matchesWildcard(name, one))) return true;
        start = end + 1;
    }
    return false;
}

bool CanDrag(const EditorState& e, EditorPlace from) {
    switch (from.item) {
    case EditorItem::FolderLabel: return !e.folder.empty();
    case EditorItem::FileLabel: return !e.selectedFile.empty();
    case EditorItem::FileField: return !WithoutTrailingBlanks(e.fields.file).empty();
    case EditorItem::StartField: return !WithoutTrailingBlanks(e.fields.start).empty();
    case EditorItem::CommandField: return !WithoutTrailingBlanks(e.fields.command).empty();
    case EditorItem::Bookmark: return ValidIndex(from) && !e.marks.folders[std::size_t(from.index)].empty();
    case EditorItem::Filter: return ValidIndex(from) && !e.marks.filters[std::size_t(from.index)].empty();
    case EditorItem::Trash: return false;
    }
    return false;
}

bool Drop(EditorState& e, EditorPlace from, EditorPlace to) {
    if (!CanDrag(e, from)) return false;
    if (from.item == to.item && from.index == to.index) return false;
    if ((to.item == EditorItem::Bookmark || to.item == EditorItem::Filter) && !ValidIndex(to)) return false;
    if (std::string* field = Field(e, to.item)) return DropOnField(e, from, *field, to.item);
    switch (to.item) {
    case EditorItem::Bookmark:
        if (from.item == EditorItem::FolderLabel) {
            // A folder too long for its place is not kept.
            if (e.folder.size() > kBookmarkBytes) return false;
            Bookmark(e, to.index) = e.folder;
            return true;
        }
        if (from.item != EditorItem::Bookmark) return false;
        Bookmark(e, to.index) = Bookmark(e, from.index);
        Bookmark(e, from.index).clear();
        return true;
    case EditorItem::Filter: {
        std::string& filter = Filter(e, to.index);
        if (from.item == EditorItem::FileLabel) {
            const auto pattern = ExtensionPattern(e.selectedFile);
            if (!pattern) return false;
            const std::string joined = filter.empty() ? *pattern : filter + ";" + *pattern;
            if (joined.size() > kFilterBytes) return false;
            filter = joined;
        } else if (from.item == EditorItem::Filter) {
            filter = Filter(e, from.index);
            Filter(e, from.index).clear();
        } else {
            return false;
        }
        e.pattern = filter;
        return true;
    }
    case EditorItem::Trash:
        if (std::string* field = Field(e, from.item)) field->clear();
        else if (from.item == EditorItem::Bookmark) Bookmark(e, from.index).clear();
        else if (from.item == EditorItem::Filter) Filter(e, from.index).clear();
        else return false;
        return true;
    default: return false;
    }
}

SaveRefusal CheckSave(const EditorState& e) {
    if (WithoutTrailingBlanks(e.fields.file).empty()) return SaveRefusal::NoFile;
    if (WithoutTrailingBlanks(e.fields.title).empty()) return SaveRefusal::NoTitle;
    if (WithoutTrailingBlanks(e.fields.file).size() > kShortcutFieldBytes) return SaveRefusal::FileTooLong;
    if (WithoutTrailingBlanks(e.fields.start).size() > kShortcutFieldBytes) return SaveRefusal::StartTooLong;
    if (WithoutTrailingBlanks(e.fields.command).size() > kShortcutFieldBytes) return SaveRefusal::CommandTooLong;
    return SaveRefusal::None;
}

const char* RefusalText(SaveRefusal refusal) {
    switch (refusal) {
    case SaveRefusal::NoFile: return "You must select a file to launch";
    case SaveRefusal::NoTitle: return "Title please !";
    case SaveRefusal::FileTooLong:
    case SaveRefusal::StartTooLong:
    case SaveRefusal::CommandTooLong: return "Too long: a shortcut keeps at most 500 characters here";
    case SaveRefusal::None: break;
    }
    return "";
}

bool SaveShortcut(ProgramState& ps, const EditorState& e, Colour colour) {
    if (CheckSave(e) != SaveRefusal::None) return false;
    ShortcutRecord r{WithoutTrailingBlanks(e.fields.file), WithoutTrailingBlanks(e.fields.start),
                     WithoutTrailingBlanks(e.fields.command), WithoutTrailingBlanks(e.fields.title)};
    const auto bytes = ShortcutBytes(r);
    const SlotRef ref{e.list, e.slot};
    const std::string path = SlotPath(ps, ref);
    if (!bytes || path.empty() || !files::writeWhole(path, *bytes)) return false;
    SlotEntry entry = ReadSlotEntry(ps, ref).value_or(SlotEntry{});
    entry.title = r.title;
    entry.colour = colour;
    const bool indexed = WriteSlotEntry(ps, ref, entry);
    return SaveBookmarks(ps, e) && indexed;
}

bool SaveBookmarks(ProgramState& ps, const EditorState& e) {
    Bookmarks marks = e.marks;
    marks.lastFolder = e.folder;
    return files::writeWhole(files::resolve(ps.dataFolder, kBookMrkName), BookMrkBytes(marks));
}

}  // namespace pellion
