#pragma once
// The two files of the Launch Pad: a shortcut record (a slot file that
// starts with the marker 999 instead of a clip) and "book.mrk", the folder
// bookmarks and file filters the shortcut editor shares between shortcuts.
#include <array>
#include <optional>
#include <string>

#include "platform/files.h"

namespace pellion {

// Marker, file, start folder and command line of 500 bytes each, title of 20.
inline constexpr std::size_t kShortcutFieldBytes = 500;
inline constexpr std::size_t kShortcutTitleBytes = 20;
inline constexpr std::size_t kShortcutRecordBytes = 2 + 3 * kShortcutFieldBytes + kShortcutTitleBytes;

struct ShortcutRecord {
    std::string file, start, command, title;  // without their blank padding
    bool operator==(const ShortcutRecord&) const = default;
};

// nullopt when the file is no shortcut record.
std::optional<ShortcutRecord> ReadShortcut(const std::string& path);
// The whole record; nullopt when a field is longer than its place (a path
// is never cut). A title is cut to 20 bytes at a character boundary.
std::optional<files::Bytes> ShortcutBytes(const ShortcutRecord& record);

// 11 bookmarks of 500 bytes, filters 2..10 of 200, the last folder in 500.
inline constexpr int kBookmarks = 11;
inline constexpr int kFilters = 11;
inline constexpr int kFixedFilters = 2;  // "*.*" and the programs' filter are not stored
inline constexpr std::size_t kBookmarkBytes = 500, kFilterBytes = 200;
inline constexpr std::size_t kBookMrkBytes =
    kBookmarks * kBookmarkBytes + (kFilters - kFixedFilters) * kFilterBytes + kShortcutFieldBytes;
inline constexpr const char* kBookMrkName = "book.mrk";

struct Bookmarks {
    std::array<std::string, kBookmarks> folders{};  // real paths, blanks and all
    std::array<std::string, kFilters> filters{"*.*", "*.EXE;*.COM;*.BAT"};
    std::string lastFolder;
    bool operator==(const Bookmarks&) const = default;
};

// A missing or empty file gives the defaults. A bookmark is stored with its
// blanks as the character 7, so that trimming the padding keeps them.
Bookmarks ReadBookMrk(const std::string& path);
// Always 7800 bytes. An entry too long for its place is left blank.
files::Bytes BookMrkBytes(const Bookmarks& marks);

}  // namespace pellion
