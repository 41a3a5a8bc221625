#include "store/clip_file.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <thread>

#include "app/program_state.h"
#include "platform/files.h"
#include "store/le_bytes.h"
#include "store/windows_formats.h"

namespace pellion {

namespace {

constexpr std::int32_t kNamedMarker = -1;

bool appendI32(files::WholeFileWriter& w, std::int32_t v) {
    std::vector<std::uint8_t> b;
    le::putI32(b, v);
    return w.append(b);
}

// Sequential reads over a clip file that never ask for more than it holds.
class ClipReader {
public:
    explicit ClipReader(const std::string& path) : file_(std::make_shared<files::Reader>(path)) {}

    std::uint64_t remaining() const { return file_->size() > pos_ ? file_->size() - pos_ : 0; }

    // A missing file or a read past the end yields false (and v = 0).
    bool i32(std::int32_t& v) {
        std::uint8_t b[4];
        v = 0;
        if (remaining() < 4 || !file_->readAt(pos_, b, 4)) return false;
        pos_ += 4;
        v = le::getI32(b);
        return true;
    }

    // A length read from the file: false unless 0..remaining.
    bool length(std::int32_t& n) { return i32(n) && n >= 0 && static_cast<std::uint64_t>(n) <= remaining(); }

    bool bytes(std::size_t n, void* out) {
        if (n > remaining() || !file_->readAt(pos_, out, n)) return false;
        pos_ += n;
        return true;
    }

    // The next n bytes left where they are, in the file as opened.
    bool span(std::size_t n, platform::FileSpan& out) {
        if (n > remaining()) return false;
        out = {file_, pos_, n};
        pos_ += n;
        return true;
    }

    void skip(std::size_t n) { pos_ += n; }

private:
    std::shared_ptr<files::Reader> file_;
    std::uint64_t pos_ = 0;
};

// The header of the next record; false when the file ends inside it.
bool readHeader(ClipReader& in, bool named, ClipRecord& r, std::int32_t& size) {
    std::int32_t id = 0, nameLength = 0;
    if (!in.i32(id)) return false;
    r.id = static_cast<std::uint32_t>(id);
    if (named) {
        if (!in.length(nameLength)) return false;
        r.name.assign(static_cast<std::size_t>(nameLength), '\0');
        if (!in.bytes(r.name.size(), r.name.data())) return false;
    }
    return in.length(size);
}

// Reads the records of layout A (named) or C that a restore keeps; false
// when the file ends inside one (the whole ones are in out). Bytes served as
// they are stay in the file, so a large clip is never read whole to serve it.
bool readRecords(const ClipState& clip, ClipReader& in, std::int32_t count, bool named, std::vector<ClipRecord>& out) {
    for (std::int32_t i = 0; i < count; ++i) {
        ClipRecord r;
        std::int32_t size = 0;
        if (!readHeader(in, named, r, size)) return false;
        if ((clip.textOnly && !IsTextRecord(r)) || IsExcludedFormat(r.name) || size == 0) {
            in.skip(static_cast<std::size_t>(size));
            continue;
        }
        if (ServedAsStored(r)) {
            if (!in.span(static_cast<std::size_t>(size), r.stored)) return false;
        } else {
            r.data.resize(static_cast<std::size_t>(size));
            if (!in.bytes(r.data.size(), r.data.data())) return false;
        }
        out.push_back(std::move(r));
    }
    return true;
}

// Restores the records of layout A or C. A format this clipboard cannot
// hold is left out; the others are served all the same.
RestoreResult restoreRecords(ProgramState& state, ClipReader& in, std::int32_t count, bool named) {
    auto& cb = *state.platform.clipboard;
    std::vector<ClipRecord> records;
    const bool whole = readRecords(state.clip, in, count, named, records);
    for (ClipRecord& r : ServableRecords(std::move(records))) {
        const std::uint32_t id = r.name.empty() ? r.id : cb.registerFormat(r.name);
        if (r.stored.file) cb.setDataFrom(id, r.stored);
        else cb.setData(id, std::move(r.data));
    }
    return whole ? RestoreResult::Restored : RestoreResult::Truncated;
}

// A title is made of the first 50 bytes after the leading blanks and control
// bytes: that start is all of a text that a snapshot keeps in memory.
constexpr std::size_t kTitleStart = 64;
void KeepTitleStart(std::string& start, const std::uint8_t* data, std::size_t n) {
    std::size_t i = 0;
    if (start.empty())
        while (i < n && data[i] <= 32) ++i;
    const std::size_t take = std::min(n - i, kTitleStart - std::min(kTitleStart, start.size()));
    start.append(reinterpret_cast<const char*>(data) + i, take);
}

}  // namespace

bool IsExcludedFormat(const std::string& name) {
    const std::string upper = files::toUpper(name);
    return upper == "EMBED SOURCE" || upper == "NATIVE" || upper.find("LINK") != std::string::npos ||
           upper.find("OBJECT") != std::string::npos || upper.find("OLE ") != std::string::npos;
}

std::string ClipTempPath(const ProgramState& state) { return files::resolve(state.dataFolder, kClipTempName); }

bool WriteSnapshot(platform::Clipboard& cb, const std::string& path, Snapshot& snap) {
    files::WholeFileWriter out(path);
    appendI32(out, kNamedMarker);
    appendI32(out, 0);
    snap = Snapshot{};
    constexpr std::uint64_t kMaxRecord = std::numeric_limits<std::int32_t>::max();
    for (const auto& format : cb.formats()) {
        if (IsExcludedFormat(format.name)) continue;
        const std::uint64_t start = out.size();
        appendI32(out, static_cast<std::int32_t>(format.id));
        appendI32(out, static_cast<std::int32_t>(format.name.size()));
        out.append(format.name.data(), format.name.size());
        const std::uint64_t sizeAt = out.size();
        appendI32(out, 0);
        const bool text = format.id == platform::kTextFormat;
        std::string title;
        const auto got = cb.readData(format.id, [&](const std::uint8_t* data, std::size_t n) {
            if (!data) {
                title.clear();
                return out.truncate(sizeAt + 4);
            }
            if (text) KeepTitleStart(title, data, n);
            return out.size() - sizeAt - 4 + n <= kMaxRecord && out.append(data, n);
        });
        const std::uint64_t size = got.value_or(0);
        if (text && size > 0) {
            snap.hasText = true;
            snap.clipText = std::move(title);
        }
        if (!out.ok()) break;
        if (size == 0) {
            // Refused, empty, cut short or too large: the format is left out.
            out.truncate(start);
            continue;
        }
        std::vector<std::uint8_t> sizeBytes;
        le::putI32(sizeBytes, static_cast<std::int32_t>(size));
        out.patch(sizeAt, sizeBytes.data(), sizeBytes.size());
        ++snap.records;
    }
    std::vector<std::uint8_t> countBytes;
    le::putI32(countBytes, snap.records);
    out.patch(4, countBytes.data(), countBytes.size());
    if (out.commit()) return true;
    // A stale file from an earlier snapshot must not pass for this one.
    files::remove(path);
    return false;
}

bool SnapshotClipboard(ProgramState& state) {
    Snapshot snap;
    const bool ok = WriteSnapshot(*state.platform.clipboard, ClipTempPath(state), snap);
    state.clip.hasText = snap.hasText;
    state.clip.clipText = std::move(snap.clipText);
    return ok;
}

bool AddMarker(ProgramState& state) {
    auto& cb = *state.platform.clipboard;
    if (state.clip.markerId == 0) state.clip.markerId = cb.registerFormat(platform::kMarkerName);
    return cb.setData(state.clip.markerId, {'o', 'k'});
}

bool RegisterMarker(ProgramState& state, const std::function<void()>& processEvents,
                    std::chrono::milliseconds patience) {
    auto* cb = state.platform.clipboard.get();
    if (!cb) return false;
    // Another program may hold the clipboard for a moment; a clipboard that
    // never opens must not keep the program from starting.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!cb->open()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        if (processEvents) processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    state.clip.markerId = cb->registerFormat(platform::kMarkerName);
    const bool marked = AddMarker(state);
    cb->close();
    return marked;
}

RestoreResult RestoreClipFile(ProgramState& state, const std::string& path) {
    auto* cb = state.platform.clipboard.get();
    if (!cb) return RestoreResult::Busy;
    // A missing or unreadable file reads as zeros: no records.
    ClipReader in(path);
    std::int32_t first = 0, second = 0;
    in.i32(first);
    if (first == kNamedMarker) in.i32(second);

    RestoreResult result = RestoreResult::Restored;
    if (first == kNamedMarker && second == kNamedMarker) {
        // Plain text as the clip editor writes it.
        std::int32_t length = 0;
        in.i32(length);
        std::string text(static_cast<std::size_t>(std::clamp<std::int64_t>(length, 0, in.remaining())), '\0');
        in.bytes(text.size(), text.data());
        if (text.size() != static_cast<std::size_t>(std::max(length, 0))) result = RestoreResult::Truncated;
        state.clip.hasText = true;
        state.clip.clipText = text;
        cb->setText(text);
        if (!cb->open()) return RestoreResult::Busy;
    } else {
        if (!cb->open()) return RestoreResult::Busy;
        cb->empty();
        const bool named = first == kNamedMarker;
        result = restoreRecords(state, in, named ? second : first, named);
    }
    if (result != RestoreResult::Interrupted && !AddMarker(state)) result = RestoreResult::Interrupted;
    cb->close();
    return result;
}

std::optional<std::string> ClipFileText(const std::string& path) {
    ClipReader in(path);
    std::int32_t first = 0, second = 0;
    if (!in.i32(first)) return std::nullopt;
    if (first == kNamedMarker && !in.i32(second)) return std::nullopt;
    std::string text;
    if (first == kNamedMarker && second == kNamedMarker) {
        std::int32_t length = 0;
        if (!in.length(length)) return std::nullopt;
        text.resize(static_cast<std::size_t>(length));
        return in.bytes(text.size(), text.data()) ? std::optional(text) : std::nullopt;
    }
    // The text as a restore would serve it, so Windows text titles too.
    const bool named = first == kNamedMarker;
    std::vector<ClipRecord> records;
    for (std::int32_t i = 0, count = named ? second : first; i < count; ++i) {
        ClipRecord r;
        std::int32_t size = 0;
        if (!readHeader(in, named, r, size)) break;
        if (!IsTextRecord(r) || IsExcludedFormat(r.name) || size == 0) {
            in.skip(static_cast<std::size_t>(size));
            continue;
        }
        r.data.resize(static_cast<std::size_t>(size));
        if (!in.bytes(r.data.size(), r.data.data())) break;
        records.push_back(std::move(r));
    }
    for (const ClipRecord& r : ServableRecords(std::move(records)))
        if (r.name.empty() && r.id == platform::kTextFormat) return std::string(r.data.begin(), r.data.end());
    return std::nullopt;
}

AfterRestore FollowUpRestore(ProgramState& state, int lastSelectedSlot) {
    if (state.clip.viewerOpen) return AfterRestore::FocusViewer;
    if (state.settings.OnTop != 0 || lastSelectedSlot >= 1000) return AfterRestore::Nothing;
    if (state.platform.windows) state.platform.windows->show(state.mainWindow, platform::ShowState::Minimised);
    return AfterRestore::Minimised;
}

}  // namespace pellion
