#include "launch/shortcut_files.h"

#include <algorithm>

#include "store/restore_clip.h"

namespace pellion {

namespace {

constexpr char kBlankInBookmark = 7;

std::string Trimmed(const files::Bytes& bytes, std::size_t from, std::size_t count) {
    if (from >= bytes.size()) return {};
    const std::size_t end = std::min(bytes.size(), from + count);
    std::string text(bytes.begin() + std::ptrdiff_t(from), bytes.begin() + std::ptrdiff_t(end));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

void Padded(files::Bytes& out, const std::string& text, std::size_t width) {
    const std::string kept = text.size() <= width ? text : std::string();
    out.insert(out.end(), kept.begin(), kept.end());
    out.insert(out.end(), width - kept.size(), ' ');
}

// Cut to at most width bytes without splitting a UTF-8 character.
std::string CutAtCharacter(const std::string& text, std::size_t width) {
    if (text.size() <= width) return text;
    std::size_t n = width;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return text.substr(0, n);
}

}  // namespace

std::optional<ShortcutRecord> ReadShortcut(const std::string& path) {
    if (!IsShortcutRecord(path)) return std::nullopt;
    const auto bytes = files::readAll(path);
    if (!bytes) return std::nullopt;
    ShortcutRecord r;
    r.file = Trimmed(*bytes, 2, kShortcutFieldBytes);
    r.start = Trimmed(*bytes, 2 + kShortcutFieldBytes, kShortcutFieldBytes);
    r.command = Trimmed(*bytes, 2 + 2 * kShortcutFieldBytes, kShortcutFieldBytes);
    r.title = Trimmed(*bytes, 2 + 3 * kShortcutFieldBytes, kShortcutTitleBytes);
    return r;
}

std::optional<files::Bytes> ShortcutBytes(const ShortcutRecord& record) {
    for (const std::string* field : {&record.file, &record.start, &record.command})
        if (field->size() > kShortcutFieldBytes) return std::nullopt;
    files::Bytes out{std::uint8_t(kShortcutMarker & 0xFF), std::uint8_t(kShortcutMarker >> 8)};
    out.reserve(kShortcutRecordBytes);
    Padded(out, record.file, kShortcutFieldBytes);
    Padded(out, record.start, kShortcutFieldBytes);
    Padded(out, record.command, kShortcutFieldBytes);
    Padded(out, CutAtCharacter(record.title, kShortcutTitleBytes), kShortcutTitleBytes);
    return out;
}

Bookmarks ReadBookMrk(const std::string& path) {
    Bookmarks marks;
    const auto bytes = files::readAll(path);
    if (!bytes || bytes->empty()) return marks;
    for (int i = 0; i < kBookmarks; ++i) {
        std::string folder = Trimmed(*bytes, std::size_t(i) * kBookmarkBytes, kBookmarkBytes);
        std::replace(folder.begin(), folder.end(), kBlankInBookmark, ' ');
        marks.folders[std::size_t(i)] = folder;
    }
    const std::size_t filters = kBookmarks * kBookmarkBytes;
    for (int i = kFixedFilters; i < kFilters; ++i)
        marks.filters[std::size_t(i)] = Trimmed(*bytes, filters + std::size_t(i - kFixedFilters) * kFilterBytes, kFilterBytes);
    marks.lastFolder = Trimmed(*bytes, kBookMrkBytes - kShortcutFieldBytes, kShortcutFieldBytes);
    return marks;
}

files::Bytes BookMrkBytes(const Bookmarks& marks) {
    files::Bytes out;
    out.reserve(kBookMrkBytes);
    for (std::string folder : marks.folders) {
        std::replace(folder.begin(), folder.end(), ' ', kBlankInBookmark);
        Padded(out, folder, kBookmarkBytes);
    }
    for (int i = kFixedFilters; i < kFilters; ++i) Padded(out, marks.filters[std::size_t(i)], kFilterBytes);
    Padded(out, marks.lastFolder, kShortcutFieldBytes);
    return out;
}

}  // namespace pellion
