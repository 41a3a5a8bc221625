// Pop-up help captions of the main window's widgets.
#include "app/program_state.h"
#include "ui/logic/keyboard.h"

namespace pellion::ui {

namespace {

constexpr const char* kRightClick = " Right click for help ";
constexpr int kDiary = 27;

void Add(std::vector<std::pair<WidgetRef, std::string>>& out, Family f, int from, int to, const char* text) {
    for (int i = from; i <= to; ++i) out.push_back({{f, i}, text});
}

}  // namespace

std::vector<std::pair<WidgetRef, std::string>> HelpCaptions(int setting, int currentLibrary) {
    std::vector<std::pair<WidgetRef, std::string>> out;
    for (Family f : {Family::LibLabel, Family::Frame2, Family::Frame1, Family::HotKeyOnOff, Family::ClearBtn})
        Add(out, f, 0, 0, kRightClick);
    Add(out, Family::Ctrlframe, 1, 1, kRightClick);
    Add(out, Family::ClipMode, 0, 3, kRightClick);
    Add(out, Family::GroupMode, 0, 3, kRightClick);
    Add(out, Family::CaptureMode, 0, 2, kRightClick);
    Add(out, Family::SizerBtn, 0, 2, kRightClick);
    const bool full = setting == 1;
    Add(out, Family::Label2, 2, 2, full ? " Paste mode setting for Clipboard - Right click for help " : kRightClick);
    Add(out, Family::Label2, 0, 0,
            full ? " Paste mode setting for current group - Right click for help " : kRightClick);
    Add(out, Family::Label2, 1, 1, full ? " Clip capture mode setting - Right click for help " : kRightClick);
    Add(out, Family::Ctrlframe, 0, 0, " Clipboard and controls - Right click for more help ");
    Add(out, Family::Trans, 0, 7, " Point to the words Transfer Slots (above) and right click for help ");
    const char* clips = " Point to the words Clipboard Clips (above) and right click for help ";
    Add(out, Family::Label1, 0, 8, clips);
    Add(out, Family::ClipboardClip, 0, 8, clips);
    Add(out, Family::hotkey, 0, 25, currentLibrary == kDiary ? " Day of month " : " Type this letter to paste ");
    Add(out, Family::Item, 0, 95, " Point to the words Group Clips (above) and right click for help ");
    Add(out, Family::Group, 0, 21, " Point to the words Group Names (above) and right click for help ");
    Add(out, Family::Group, 22, 22, kRightClick);  // "Hot Key Clips"
    Add(out, Family::Group, 23, 31, " Point to the words Group Names (above) and right click for help ");
    if (setting == 0) {
        for (auto& [ref, text] : out) text.clear();
        Add(out, Family::hotkey, 26, 31, "");
    }
    return out;
}

void SetHelpCaptions(ProgramState& ps) {
    for (const auto& [ref, text] : HelpCaptions(ps.settings.HelpOption, ps.settings.CurrentLibrary))
        ps.mainForm.form[ref].toolTip = text;
}

}  // namespace pellion::ui
