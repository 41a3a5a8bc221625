#include "app/settings_file.h"

#include <algorithm>
#include <cstring>

#include "app/program_state.h"
#include "platform/files.h"
#include "store/le_bytes.h"

namespace pellion {

namespace {

// Every field after the marker, in file order; one list serves both ways.
template <class Rec, class F>
void forEachNumber(Rec& r, F&& f) {
    f(r.BulkCount), f(r.ReducedTop), f(r.ReducedLeft), f(r.Reserved1), f(r.Reserved2);
    f(r.ClipboardClipsColour), f(r.GroupClipsColour), f(r.GroupNamesColour);
    f(r.Reserved3), f(r.KeysOption), f(r.IconOption), f(r.HelpOption), f(r.ClearOption), f(r.FontOption);
    f(r.CurrentGroup), f(r.ViewerTop), f(r.ViewerLeft), f(r.ViewerHeight), f(r.ViewerWidth);
    f(r.GroupMode), f(r.SizeOption), f(r.TransferSlotsColour), f(r.Reserved4), f(r.OnTop), f(r.ClipMode);
    f(r.CaptureMode), f(r.Layout), f(r.LastReducedLayout), f(r.CurrentLibrary), f(r.HelpShown);
    f(r.BulkSpacing), f(r.BulkOption), f(r.StickyOption), f(r.DockTop), f(r.DockBottom), f(r.DockLeft);
    f(r.DockRight), f(r.ColumnTop), f(r.ColumnLeft);
}

constexpr std::size_t kMarkerLength = 7;

bool startsWith(const std::vector<std::uint8_t>& bytes, const char* text) {
    const std::size_t n = std::strlen(text);
    return bytes.size() >= n && std::memcmp(bytes.data(), text, n) == 0;
}

std::string settingsPath(const ProgramState& state) { return files::resolve(state.dataFolder, kSettingsFileName); }

}  // namespace

std::vector<std::uint8_t> EncodeSettings(const SettingsRecord& record) {
    std::vector<std::uint8_t> out(record.VersionMarker.begin(),
                                  record.VersionMarker.begin() +
                                      static_cast<long>(std::min(record.VersionMarker.size(), kMarkerLength)));
    out.resize(kMarkerLength, 0);
    forEachNumber(record, [&](auto v) {
        using T = decltype(v);
        if constexpr (std::is_same_v<T, float>) le::putF32(out, v);
        else if constexpr (sizeof(T) == 2) le::putI16(out, v);
        else le::putI32(out, v);
    });
    return out;
}

SettingsRecord DecodeSettings(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> full(bytes.begin(), bytes.begin() + static_cast<long>(std::min(bytes.size(), kSettingsFileSize)));
    const std::size_t marker = std::min(full.size(), kMarkerLength);
    full.resize(kSettingsFileSize, 0);
    SettingsRecord r;
    r.VersionMarker.assign(full.begin(), full.begin() + static_cast<long>(marker));
    std::size_t at = kMarkerLength;
    forEachNumber(r, [&](auto& v) {
        using T = std::remove_reference_t<decltype(v)>;
        const std::uint8_t* p = full.data() + at;
        if constexpr (std::is_same_v<T, float>) v = le::getF32(p);
        else if constexpr (sizeof(T) == 2) v = le::getI16(p);
        else v = le::getI32(p);
        at += sizeof(T);
    });
    return r;
}

SettingsRecord DefaultSettings(platform::Point screen) {
    SettingsRecord r;  // the member defaults are those of a first run
    r.VersionMarker = kVersionMarker;
    r.ViewerTop = static_cast<float>(screen.y - 6672) / 2;
    r.ViewerLeft = static_cast<float>(screen.x - 6948) / 2;
    // Large only where the whole Large window fits the screen.
    r.SizeOption = screen.x >= 12288 && screen.y >= 8820 ? 1 : 0;
    return r;
}

platform::Point ScreenSizeTwips(const ProgramState& state) {
    if (state.platform.windows) return state.platform.windows->screenSizeTwips();
    return {1024 * 15, 768 * 15};
}

void LoadSettings(ProgramState& state) {
    const auto bytes = files::readAll(settingsPath(state)).value_or(std::vector<std::uint8_t>{});
    const SettingsRecord read = DecodeSettings(bytes);
    if (startsWith(bytes, kVersionMarker)) {
        // A short file of this version is used as read, its missing fields zero.
        state.settings = read;
        return;
    }
    // Missing, empty, foreign or of another version: start again from defaults,
    // keeping the bulk count of an earlier version and the remembered values.
    SettingsRecord fresh = DefaultSettings(ScreenSizeTwips(state));
    fresh.BulkCount = startsWith(bytes, "PCV") ? read.BulkCount : 0;
    fresh.ReducedTop = read.ReducedTop;
    fresh.ReducedLeft = read.ReducedLeft;
    fresh.Reserved1 = read.Reserved1;
    fresh.Reserved2 = read.Reserved2;
    state.settings = fresh;
    SaveSettings(state);
}

bool SaveSettings(const ProgramState& state) {
    return files::writeWhole(settingsPath(state), EncodeSettings(state.settings));
}

void ValidateAgainstScreen(SettingsRecord& r, platform::Point screen) {
    if (r.ReducedTop >= screen.y || r.ReducedLeft >= screen.x) r.ReducedTop = r.ReducedLeft = 0;
    // Compared as the stored singles; a NaN is no place on any screen.
    const bool columnOff = !(r.ColumnTop < static_cast<float>(screen.y)) || !(r.ColumnLeft < static_cast<float>(screen.x));
    if (columnOff) r.ColumnTop = r.ColumnLeft = 0;
    if (r.Layout == 0) r.OnTop = 0;
}

void ValidateRanges(SettingsRecord& r, platform::Point screen) {
    if (r.LastReducedLayout < 1 || r.LastReducedLayout > 2) r.LastReducedLayout = 1;
    if (r.Layout < 0 || r.Layout > 2) r.Layout = 0;
    if (r.Reserved2 == 0) r.Reserved2 = 5532;
    if (r.Reserved1 == 0) r.Reserved1 = 4584;
    if (r.ReducedTop > screen.y) r.ReducedTop = 0;
    if (r.ReducedLeft > screen.x) r.ReducedLeft = 0;
    if (r.OnTop < 0 || r.OnTop > 1) r.OnTop = 0;
}

}  // namespace pellion
