#include "paste/hot_keys.h"

#include <algorithm>

#include "app/program_state.h"
#include "paste/paste_engine.h"
#include "store/fields.h"
#include "store/index_files.h"
#include "store/restore_clip.h"

namespace pellion {

namespace {

using platform::keyCode;
using platform::kAltMask;
using platform::kCtrlMask;
using platform::kShiftMask;
namespace vk = platform::vk;

constexpr std::uint32_t AltLetter(int letter) { return keyCode(kAltMask, vk::A + std::uint32_t(letter)); }
constexpr std::uint32_t Ctrl(std::uint32_t virtualKey) { return keyCode(kCtrlMask, virtualKey); }
constexpr std::uint32_t kShiftInsert = keyCode(kShiftMask, vk::Insert);
constexpr std::uint32_t kCtrlV = keyCode(kCtrlMask, vk::V);

void Call(const std::function<void()>& hook) {
    if (hook) hook();
}

bool IsBlank(const std::string& title) { return title.find_first_not_of(' ') == std::string::npos; }

// A hot key's paste runs from the paste timer; the monitor rests meanwhile
// so that it never captures what is being pasted. It goes to the window that
// was in front when the key was pressed (the monitor's last record may be
// a window the user has just left), unless that window is one of ours.
void PasteLater(ProgramState& ps, PastePending what, platform::WindowId pressedIn) {
    auto* windows = ps.platform.windows.get();
    if (pressedIn != 0 && windows && !windows->isOwnWindow(pressedIn)) ps.pasteTarget = pressedIn;
    DisarmNextClick(ps);
    ps.paste.pending = what;
    if (ps.paste.hooks.monitorTimer) ps.paste.hooks.monitorTimer(false);
    if (ps.paste.hooks.pasteTimer) ps.paste.hooks.pasteTimer(true);
}

std::uint32_t BulkKey(const ProgramState& ps) { return Ctrl(ps.settings.BulkOption == 1 ? vk::B : vk::Insert); }

// The chosen bulk key watched or not; the other one never, so that an option
// change leaves no stale key. False when the key is refused.
bool WatchBulkKey(const ProgramState& ps, platform::Hooks& hooks, bool on) {
    const std::uint32_t chosen = BulkKey(ps);
    hooks.removeKey(chosen == Ctrl(vk::B) ? Ctrl(vk::Insert) : Ctrl(vk::B));
    if (on) return hooks.addKey(chosen);
    hooks.removeKey(chosen);
    return true;
}

void SwitchHotKeys(ProgramState& ps, bool on) {
    if (on)
        HotKeysOn(ps);
    else
        HotKeysOff(ps);
    ps.paste.hotKeysOff = !on;
    ShowHotKeySwitch(ps);
}

// The user pasted in another program (or in ours).
void PasteKeystrokeSeen(ProgramState& ps) {
    ui::FormWindow& w = ps.mainForm.form.window;
    const bool minimised = !w.shown || w.show == ui::WindowShow::Minimised;
    const bool fullLayout = ps.settings.Layout == 0 && ps.mainForm.columnView == 0;
    auto* windows = ps.platform.windows.get();
    const bool inFront = windows && ps.mainWindow != 0 && windows->foreground() == ps.mainWindow;
    if (minimised || fullLayout || inFront) {
        ui::BringUpWindow(ps);
    } else {
        // A reduced window behind another program comes forward as it is.
        w.raiseRequest = true;
        w.focusRequest = ui::FocusRequest::Window;
    }
}

void CtrlKey(ProgramState& ps, std::uint32_t key, platform::WindowId pressedIn) {
    if (key >= vk::Numpad0 && key <= vk::Numpad0 + 9) key = key - vk::Numpad0 + vk::Digit0;
    if (key == vk::Plus || key == vk::NumpadPlus) {
        SwitchHotKeys(ps, true);
        return;
    }
    if (ps.paste.hotKeysOff) return;  // a report that raced the switch
    if (key == vk::Digit0) {
        Call(ps.paste.hooks.clearClipboardClips);
    } else if (key > vk::Digit0 && key <= vk::Digit0 + 9) {
        // An unfilled slot is not refused: its empty clip empties the clipboard.
        RestoreClip(ps, {ListKind::ClipboardClips, int(key - vk::Digit0) - 1});
        PasteLater(ps, PastePending::Keys, pressedIn);
    } else if (key == vk::Minus || key == vk::NumpadMinus) {
        SwitchHotKeys(ps, false);
    } else if (key == vk::Insert || key == vk::B) {
        PasteLater(ps, PastePending::Bulk, pressedIn);
    }
}

void AltKey(ProgramState& ps, std::uint32_t key, platform::WindowId pressedIn) {
    const int letter = int(key) - int(vk::A);
    if (ps.paste.hotKeysOff || letter < 0 || letter >= kHotKeyLetters) return;
    if (IsBlank(ReadHotKeyTitles(ps)[letter])) return;
    RestoreClip(ps, {ListKind::GroupClips, letter, kHotKeyGroup});
    PasteLater(ps, PastePending::Keys, pressedIn);
}

}  // namespace

std::array<std::string, kHotKeyLetters> ReadHotKeyTitles(const ProgramState& ps) {
    std::array<std::string, kHotKeyLetters> titles;
    const auto bytes = files::readAll(GroupTitlesPath(ps.dataFolder, kHotKeyGroup));
    if (!bytes) return titles;
    for (int i = 0; i < kHotKeyLetters; ++i)
        titles[i] = field::textAt(*bytes, std::size_t(i) * kTitleBytes, kTitleBytes);
    return titles;
}

std::vector<std::uint32_t> HotKeysOn(ProgramState& ps) {
    std::vector<std::uint32_t> refused;
    auto* hooks = ps.platform.hooks.get();
    if (!hooks) return refused;
    auto add = [&](std::uint32_t code) {
        if (!hooks->addKey(code)) refused.push_back(code);
    };
    for (int i = 0; i < kHotKeyLetters; ++i) hooks->removeKey(AltLetter(i));
    const auto titles = ReadHotKeyTitles(ps);
    for (int i = 0; i < kHotKeyLetters; ++i)
        if (!IsBlank(titles[i])) add(AltLetter(i));
    for (std::uint32_t i = 0; i <= 9; ++i) {
        add(Ctrl(vk::Digit0 + i));
        Call(ps.paste.hooks.processEvents);
        add(Ctrl(vk::Numpad0 + i));
        Call(ps.paste.hooks.processEvents);
    }
    add(Ctrl(vk::NumpadMinus));
    add(Ctrl(vk::Minus));
    if (!WatchBulkKey(ps, *hooks, true)) refused.push_back(BulkKey(ps));
    ps.paste.refusedKeys = refused;
    TellRefusedKeys(ps);
    return refused;
}

void HotKeysOff(ProgramState& ps) {
    auto* hooks = ps.platform.hooks.get();
    ps.paste.refusedKeys.clear();
    if (!hooks) return;
    for (int i = 0; i < kHotKeyLetters; ++i) hooks->removeKey(AltLetter(i));
    for (std::uint32_t i = 0; i <= 9; ++i) {
        hooks->removeKey(Ctrl(vk::Digit0 + i));
        hooks->removeKey(Ctrl(vk::Numpad0 + i));
    }
    hooks->removeKey(Ctrl(vk::NumpadMinus));
    hooks->removeKey(Ctrl(vk::Minus));
    hooks->removeKey(Ctrl(vk::B));
    hooks->removeKey(Ctrl(vk::Insert));
}

void SetBulkKeyDetection(ProgramState& ps) {
    auto* hooks = ps.platform.hooks.get();
    if (!hooks) return;
    if (WatchBulkKey(ps, *hooks, !ps.paste.hotKeysOff)) return;
    ps.paste.refusedKeys.push_back(BulkKey(ps));
    TellRefusedKeys(ps);
}

void SetPasteKeyDetection(ProgramState& ps) {
    auto* hooks = ps.platform.hooks.get();
    if (!hooks) return;
    hooks->removeKey(kShiftInsert);
    hooks->removeKey(kCtrlV);
    const int option = ps.settings.KeysOption;
    if (option == 0 || option == 2) hooks->addKey(kShiftInsert);
    if (option == 1 || option == 2) hooks->addKey(kCtrlV);
}

void WatchHotKeyLetter(ProgramState& ps, int letter, bool assigned) {
    auto* hooks = ps.platform.hooks.get();
    if (!hooks || letter < 0 || letter >= kHotKeyLetters) return;
    if (!assigned)
        hooks->removeKey(AltLetter(letter));
    else if (!ps.paste.hotKeysOff && !hooks->addKey(AltLetter(letter))) {
        ps.paste.refusedKeys.push_back(AltLetter(letter));
        TellRefusedKeys(ps);
    }
}

std::string KeyName(std::uint32_t code) {
    std::string name;
    const std::uint32_t mask = code >> 16, key = code & 0xFFFF;
    if (mask & kCtrlMask) name += "Ctrl+";
    if (mask & kAltMask) name += "Alt+";
    if (mask & kShiftMask) name += "Shift+";
    if ((key >= vk::Digit0 && key <= vk::Digit0 + 9) || (key >= vk::A && key <= vk::A + 25))
        name += char(key);
    else if (key >= vk::Numpad0 && key <= vk::Numpad0 + 9)
        name += "Num " + std::to_string(key - vk::Numpad0);
    else if (key == vk::NumpadMinus)
        name += "Num -";
    else if (key == vk::Minus)
        name += "-";
    else if (key == vk::Insert)
        name += "Insert";
    else
        name += "key " + std::to_string(key);
    return name;
}

void TellRefusedKeys(ProgramState& ps) {
    std::string names;
    for (std::uint32_t code : ps.paste.refusedKeys) {
        auto& told = ps.paste.refusalsTold;
        if (std::find(told.begin(), told.end(), code) != told.end()) continue;
        told.push_back(code);
        names += (names.empty() ? "" : ", ") + KeyName(code);
    }
    if (names.empty() || !ps.paste.hooks.tellUser) return;
    ps.paste.hooks.tellUser("Another program holds these hot keys, so they do nothing here: " + names + ".");
}

void KeyReleased(ProgramState& ps, platform::KeyRelease key) {
    if ((key.vk == vk::V && key.shift == kCtrlMask) || (key.vk == vk::Insert && key.shift == kShiftMask)) {
        PasteKeystrokeSeen(ps);
        return;
    }
    ps.paste.keyMode = KeyMode::Plain;
    if (key.shift == kCtrlMask)
        CtrlKey(ps, key.vk, key.foreground);
    else if (key.shift == kAltMask)
        AltKey(ps, key.vk, key.foreground);
}

void HotKeyOnOffClick(ProgramState& ps, ui::MouseButton button) {
    if (button == ui::MouseButton::Left)
        SwitchHotKeys(ps, ps.paste.hotKeysOff);
    else if (button == ui::MouseButton::Right && ps.mainForm.hooks.quickHelp)
        ps.mainForm.hooks.quickHelp(6);
}

void ShowHotKeySwitch(ProgramState& ps) {
    ui::WidgetState& box = ps.mainForm.form[{ui::Family::HotKeyOnOff, 0}];
    box.selected = ps.paste.hotKeysOff;
    box.background = ps.paste.hotKeysOff ? kRed : kButtonFace;
}

void ConnectHookEvents(ProgramState& ps) {
    auto* hooks = ps.platform.hooks.get();
    if (!hooks) return;
    hooks->onKeyReleased = [&ps](platform::KeyRelease key) {
        KeyReleased(ps, key);
        Call(ps.paste.hooks.formChanged);
    };
    hooks->onMouseClick = [&ps](platform::WindowId window) {
        NextClickEvent(ps, window);
        Call(ps.paste.hooks.formChanged);
    };
}

}  // namespace pellion
