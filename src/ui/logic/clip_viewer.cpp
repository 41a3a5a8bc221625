#include "ui/logic/clip_viewer.h"

#include <algorithm>
#include <array>

#include "app/program_state.h"
#include "platform/files.h"
#include "store/le_bytes.h"
#include "store/slot_files.h"
#include "store/windows_formats.h"

namespace pellion::ui {

namespace {

constexpr std::int32_t kNamed = -1;
constexpr std::uint32_t kLocaleFormat = 16;

// The picture types a desktop program puts on the clipboard.
constexpr std::array<const char*, 5> kPictureTypes{"image/png", "image/jpeg", "image/bmp", "image/gif", "image/webp"};

bool IsPicture(const ClipRecord& r) {
    if (r.name.empty()) return r.id == kDibFormat || r.id == kDibV5Format;
    return std::find(kPictureTypes.begin(), kPictureTypes.end(), r.name) != kPictureTypes.end();
}

bool IsPlainTextFamily(const ClipRecord& r) {
    return r.name.empty() && (r.id == platform::kTextFormat || r.id == platform::kOemTextFormat || r.id == kLocaleFormat);
}

class Scan {
public:
    explicit Scan(const std::string& path) : file_(path) {}

    std::uint64_t remaining() const { return file_.size() > pos_ ? file_.size() - pos_ : 0; }
    bool i32(std::int32_t& v) {
        std::uint8_t b[4];
        if (remaining() < 4 || !file_.readAt(pos_, b, 4)) return false;
        pos_ += 4;
        v = le::getI32(b);
        return true;
    }
    bool length(std::int32_t& n) { return i32(n) && n >= 0 && std::uint64_t(n) <= remaining(); }
    bool bytes(std::size_t n, void* out) {
        if (n > remaining() || !file_.readAt(pos_, out, n)) return false;
        pos_ += n;
        return true;
    }
    void skip(std::uint64_t n) { pos_ += n; }
    std::uint64_t size() const { return file_.size(); }

private:
    files::Reader file_;
    std::uint64_t pos_ = 0;
};

std::string UpToNul(const std::vector<std::uint8_t>& block) {
    const auto end = std::find(block.begin(), block.end(), std::uint8_t(0));
    return std::string(block.begin(), end);
}

void ShowPicture(ViewerClip& clip, ClipRecord r) {
    clip.pictureShown = true;
    if (r.name.empty()) {
        // A Windows bitmap is shown as the bitmap file a restore serves.
        std::vector<ClipRecord> served = ServableRecords({std::move(r)});
        r = served.empty() ? ClipRecord{0, "image/bmp", {}, {}} : std::move(served.front());
    }
    clip.pictureFormat = r.name;
    clip.picture = std::move(r.data);
}

// The records of a named (or older, numbered) file. False when the file
// ends inside one.
bool ScanRecords(Scan& in, std::int32_t count, bool named, ViewerClip& clip) {
    for (std::int32_t i = 0; i < count; ++i) {
        ClipRecord r;
        std::int32_t id = 0, nameLength = 0, size = 0;
        if (!in.i32(id)) return false;
        r.id = std::uint32_t(id);
        if (named) {
            if (!in.length(nameLength)) return false;
            r.name.assign(std::size_t(nameLength), '\0');
            if (!in.bytes(r.name.size(), r.name.data())) return false;
        }
        if (!in.i32(size) || size < 0) return false;
        if (!IsPlainTextFamily(r)) clip.multiFormat = true;
        const bool text = r.name.empty() && r.id == platform::kTextFormat;
        // A picture cut short is still the picture to show: as damaged.
        if (!text && IsPicture(r)) clip.pictureShown = true;
        if (std::uint64_t(size) > in.remaining()) return false;
        clip.formats.push_back({r.id, r.name, std::uint64_t(size)});
        if (!text && !IsPicture(r)) {
            in.skip(std::uint64_t(size));
            continue;
        }
        r.data.resize(std::size_t(size));
        if (!in.bytes(r.data.size(), r.data.data())) return false;
        if (!text) {
            ShowPicture(clip, std::move(r));
            continue;
        }
        clip.hasText = true;
        clip.text = UpToNul(r.data);
        if (named) break;
    }
    return true;
}

std::string Trimmed(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

}  // namespace

ViewerClip LoadViewerClip(const std::string& path) {
    ViewerClip clip;
    Scan in(path);
    if (in.size() == 0) return clip;
    std::int32_t first = 0, second = 0;
    bool whole = in.i32(first);
    if (whole && first == kNamed) whole = in.i32(second);
    if (whole && first == kNamed && second == kNamed) {
        std::int32_t length = 0;
        whole = in.length(length);
        if (whole) {
            clip.text.resize(std::size_t(length));
            whole = in.bytes(clip.text.size(), clip.text.data());
            clip.hasText = whole;
            if (!whole) clip.text.clear();
            else clip.formats.push_back({platform::kTextFormat, "", std::uint64_t(length)});
        }
    } else if (whole) {
        const bool named = first == kNamed;
        whole = ScanRecords(in, named ? second : first, named, clip);
    }
    clip.damaged = !whole;
    return clip;
}

bool HasOverlongLine(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end - start > kLongestEditableLine) return true;
        start = end + 1;
    }
    return false;
}

std::string BreakLongLines(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / kBrokenLineLength + 1);
    std::size_t run = 0;
    for (char c : text) {
        const bool continuation = (static_cast<unsigned char>(c) & 0xC0) == 0x80;
        if (run >= kBrokenLineLength && !continuation && c != '\n') {
            out += '\n';
            run = 0;
        }
        out += c;
        run = c == '\n' ? 0 : run + 1;
    }
    return out;
}

std::string FormatList(const std::vector<ViewerFormat>& formats) {
    std::string out;
    for (const ViewerFormat& f : formats) {
        const std::string name = f.name.empty() ? "Format " + std::to_string(f.id) : f.name;
        // Sizes with thousands separators, as a person reads them.
        std::string digits = std::to_string(f.size), size;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0) size += ',';
            size += digits[i];
        }
        out += name + "  " + size + (f.size == 1 ? " byte\n" : " bytes\n");
    }
    return out;
}

ViewerOpening OpenViewerOn(const ProgramState& ps, SourceList list, int slot) {
    ViewerOpening o;
    o.held.list = list;
    o.held.slot = slot;
    o.held.group = ps.settings.CurrentGroup;
    const ListModel& l = ps.lists;
    std::string title;
    Colour listDefault = ps.settings.GroupClipsColour;
    switch (list) {
    case SourceList::ClipboardClips:
        if (slot >= 0 && slot < kClipSlots) title = l.clipboardClips.titles[slot];
        o.showOptions = false;
        o.path = SlotPath(ps, {ListKind::ClipboardClips, slot});
        break;
    case SourceList::GroupClips:
        if (slot >= 0 && slot < kGroupSlots) {
            title = l.groupClips.titles[slot];
            o.held.mode = l.groupClips.modes[slot];
            o.held.colour = l.groupClips.colours[slot];
        }
        o.path = SlotPath(ps, {ListKind::GroupClips, slot});
        break;
    case SourceList::TransferSlots:
        if (slot >= 0 && slot < kTransferSlots) {
            title = l.transferSlots.titles[slot];
            o.held.mode = l.transferSlots.modes[slot];
            o.held.colour = l.transferSlots.colours[slot];
        }
        listDefault = ps.settings.TransferSlotsColour;
        o.path = SlotPath(ps, {ListKind::TransferSlots, slot});
        break;
    }
    // A label shows its title up to the first NUL.
    title = Trimmed(title.substr(0, title.find('\0')));
    o.title = title.empty() ? std::string("Untitled") : title;
    o.held.title = o.title;
    if (o.held.mode < kPasteOptions) o.pasteOption = o.held.mode;
    // No colour of its own shows the list's colour: "Group Clr".
    o.colourOption = o.held.colour == 0 || o.held.colour == listDefault ? std::optional<int>(kColourOptions - 1)
                                                                          : ColourOptionOf(o.held.colour);
    return o;
}

TwipRect ViewerPlacement(const ProgramState& ps, int screenWidth, int screenHeight, int minWidth, int minHeight) {
    const SettingsRecord& s = ps.settings;
    TwipRect r{int(s.ViewerLeft), int(s.ViewerTop), int(s.ViewerWidth), int(s.ViewerHeight)};
    r.width = std::max(r.width, minWidth);
    r.height = std::max(r.height, minHeight);
    // Never larger than the screen, and wholly on it.
    if (screenWidth > 0) r.width = std::min(r.width, std::max(minWidth, screenWidth));
    if (screenHeight > 0) r.height = std::min(r.height, std::max(minHeight, screenHeight));
    r.left = std::clamp(r.left, 0, std::max(0, screenWidth - r.width));
    r.top = std::clamp(r.top, 0, std::max(0, screenHeight - r.height));
    return r;
}

TwipRect ViewerDefaultSize(bool large, int screenWidth, int screenHeight) {
    if (large) return {(screenWidth - 7388) / 2, (screenHeight - 8928) / 2, 6852, 7928};
    return {(screenWidth - 6948) / 2, (screenHeight - 6672) / 2, 6852, 5672};
}

TwipRect ViewerWideSize(bool large, int screenWidth, int screenHeight) {
    const int width = large ? 12048 : 9564;
    return {(screenWidth - width) / 2, (screenHeight - 3900) / 2, width, 3900};
}

void RememberViewerPlace(ProgramState& ps, const TwipRect& outer) {
    ps.settings.ViewerLeft = float(outer.left);
    ps.settings.ViewerTop = float(outer.top);
    ps.settings.ViewerWidth = float(outer.width);
    ps.settings.ViewerHeight = float(outer.height);
}

}  // namespace pellion::ui
