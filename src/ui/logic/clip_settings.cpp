#include "ui/logic/clip_settings.h"

#include <algorithm>
#include <array>

#include "app/program_state.h"
#include "app/settings_file.h"
#include "paste/hot_keys.h"
#include "platform/files.h"
#include "store/fields.h"
#include "store/index_files.h"
#include "store/slot_files.h"

namespace pellion::ui {

namespace {

struct ColourOption {
    const char* caption;
    Colour value;
};
constexpr std::array<ColourOption, kColourOptions> kColours{{
    {"White", 0xFFFFFF}, {"Green", 0x00FF00}, {"Blue", 0xFFFF00}, {"Yellow", 0x00FFFF}, {"Red", 0x0000FF},
    {"Group Clr", 0},
}};
constexpr std::array<const char*, kPasteOptions> kPasteCaptions{"Normal", "Next Click", "Bookmark", "Group Setting",
                                                                "Form Filling"};

bool Blank(const std::string& title) { return title.find_first_not_of(' ') == std::string::npos; }

void SaveGroupClip(ProgramState& ps, const ClipSettings& s, const std::string& title) {
    // The viewer may have stayed open while the user chose another group.
    if (ps.settings.CurrentGroup != s.group) {
        ps.settings.CurrentGroup = std::int16_t(s.group);
        ComputeGroupStem(ps);
        SaveSettings(ps);
        LoadCurrentGroup(ps);
    }
    const SlotRef slot{ListKind::GroupClips, s.slot};
    WriteSlotEntry(ps, slot, {title, s.mode, s.colour});
    if (ps.settings.CurrentGroup == kHotKeyGroup) WatchHotKeyLetter(ps, s.slot, !Blank(title));
    if (s.textChanged) WriteTextOnlyClip(SlotPath(ps, slot), s.text);
}

void SaveTransferSlot(ProgramState& ps, const ClipSettings& s, const std::string& title) {
    const SlotRef slot{ListKind::TransferSlots, s.slot};
    WriteSlotEntry(ps, slot, {title, s.mode, s.colour});
    if (s.textChanged) WriteTextOnlyClip(SlotPath(ps, slot), s.text);
}

void SaveClipboardClip(ProgramState& ps, const ClipSettings& s, const std::string& title) {
    if (s.textChanged) {
        // The edited text is captured as a new clip, under the edited title.
        ps.monitor.pendingTitleSet = true;
        ps.monitor.pendingTitle = field::fit(title, kTitleBytes);
        ps.monitor.clearBeforeNextCapture = false;
        if (ps.platform.clipboard) ps.platform.clipboard->setText(s.text);
        return;
    }
    // Written to "clip.dat" with the next capture.
    if (s.slot >= 0 && s.slot < kClipSlots) ps.lists.clipboardClips.titles[s.slot] = title;
}

}  // namespace

const char* ColourOptionCaption(int index) {
    return index >= 0 && index < kColourOptions ? kColours[index].caption : "";
}

std::optional<Colour> ColourOfOption(int index) {
    if (index < 0 || index >= kColourOptions) return std::nullopt;
    return kColours[index].value;
}

std::optional<int> ColourOptionOf(Colour colour) {
    for (int i = 0; i < kColourOptions; ++i)
        if (kColours[i].value == colour) return i;
    return std::nullopt;
}

const char* PasteOptionCaption(int index) {
    return index >= 0 && index < kPasteOptions ? kPasteCaptions[index] : "";
}

void SaveClipSettings(ProgramState& ps, const ClipSettings& s) {
    const std::string title = field::title(s.title);
    switch (s.list) {
    case SourceList::GroupClips: SaveGroupClip(ps, s, title); break;
    case SourceList::TransferSlots: SaveTransferSlot(ps, s, title); break;
    case SourceList::ClipboardClips: SaveClipboardClip(ps, s, title); break;
    }
}

bool WriteTextOnlyClip(const std::string& path, const std::string& text) {
    if (path.empty()) return false;
    files::Bytes out;
    field::putI32(out, -1);
    field::putI32(out, -1);
    field::putI32(out, std::int32_t(text.size()));
    out.insert(out.end(), text.begin(), text.end());
    return files::writeWhole(path, out);
}

OkOutcome ClipSettingsOk(ProgramState& ps, ClipSettings held, const ClipSettingsForm& form) {
    if (Blank(form.title)) return {false, true, kTitleRequired};
    if (form.colourOption) held.colour = ColourOfOption(*form.colourOption).value_or(held.colour);
    if (form.pasteOption && *form.pasteOption >= 0 && *form.pasteOption < kPasteOptions)
        held.mode = std::uint8_t(*form.pasteOption);
    held.title = field::fit(form.title, kTitleBytes);
    held.textChanged = form.editedText.has_value();
    held.text = form.editedText.value_or(std::string());
    SaveClipSettings(ps, held);
    return {true, false, form.title};
}

bool SaveGroupNaming(ProgramState& ps, int group, const std::string& title, std::optional<int> colourOption) {
    if (group < 0 || group >= kGroups) return false;
    const Colour c = colourOption ? ColourOfOption(*colourOption).value_or(0) : 0;
    bool ok = WriteColourAt(FileIn(ps.libraryFolder, "groups.clr"), group, c);
    auto& names = ps.lists.groupNames;
    names.colours[group] = c;
    // A name of blanks would make the group look empty, open to drops that
    // overwrite its clips.
    names.titles[group] = Blank(title) ? std::string(kUntitledGroup) : field::title(title);
    return SaveGroupNames(ps) && ok;
}

TwipRect GroupNamingPlacement(const TwipRect& main, int cellTop, int dialogWidth, int dialogHeight) {
    TwipRect r{main.right() - dialogWidth, cellTop - 300, dialogWidth, dialogHeight};
    if (r.top < main.top) r.top = main.top;
    if (r.bottom() > main.bottom()) r.top = main.bottom() - dialogHeight;
    return r;
}

TwipRect ClipSettingsPlacement(const TwipRect& cell, int dialogWidth, int dialogHeight, int screenWidth,
                               int screenHeight) {
    TwipRect r{cell.right(), cell.top, dialogWidth, dialogHeight};
    if (r.right() > screenWidth) r.left = cell.left - dialogWidth;
    r.left = std::clamp(r.left, 0, std::max(0, screenWidth - dialogWidth));
    r.top = std::clamp(r.top, 0, std::max(0, screenHeight - dialogHeight));
    return r;
}

}  // namespace pellion::ui
