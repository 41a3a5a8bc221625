#pragma once
// A whole program over a temporary data folder for the paste engine and the
// hot keys: a paste-target window in front, the timers driven by a clock the
// test advances, and every typed key stamped with its time and with whether
// the keyboard hook had been told that the program types.
#include <optional>

#include "paste/hot_keys.h"
#include "paste/paste_engine.h"
#include "store/index_files.h"
#include "store/libraries.h"
#include "store/slot_files.h"
#include "unit/store_fixture.h"

namespace pellion::test {

struct TypedKey {
    std::string keys;
    bool wait;
    bool whileTyping;  // the hook's monitoring state was Typing
    int atMs;
};

// Records the keys, and at each paste keystroke the clipboard's text as the
// target receives it. That keystroke waits (the next clip must not replace
// this one before it is taken), and the text must have been offered to the
// paste key too: terminals paste from there, not from the clipboard.
class KeyRecorder : public platform::Keystrokes {
public:
    KeyRecorder(const platform::fake::FakePlatform& fake, const int& clock) : fake_(fake), clock_(clock) {}
    bool send(const std::string& notation, bool wait) override {
        typed.push_back({notation, wait, fake_.hooks->monitoring == platform::MonitoringState::Typing, clock_});
        if (notation == "+{INSERT}") {
            EXPECT_TRUE(wait);
            const auto& clipboard = *fake_.clipboard;
            const auto text = clipboard.bytesOf("");
            pasted.push_back(text ? std::string(text->begin(), text->end() - 1) : "<none>");
            EXPECT_TRUE(!clipboard.pasteOffers.empty() && clipboard.pasteOffers.back() == clipboard.content)
                << "not offered to the paste key: " << pasted.back();
        }
        return true;
    }
    std::vector<TypedKey> typed;
    std::vector<std::string> pasted;

private:
    const platform::fake::FakePlatform& fake_;
    const int& clock_;
};

class PasteTest : public StoreTest {
protected:
    PasteTest() {
        StartupLoader(state, {});
        state.settings.ClearOption = 1;
        state.settings.OnTop = 0;
        state.mainWindow = fake.windows->add(" Pellion Clipboard", true);
        target = fake.windows->add("editor");
        fake.windows->setForeground(target);
        state.pasteTarget = target;
        state.mainForm.form.window.shown = true;

        auto recorder = std::make_unique<KeyRecorder>(fake, clock);
        keys = recorder.get();
        fake.platform.keystrokes = std::move(recorder);

        PasteHooks& h = state.paste.hooks;
        h.pasteTimer = [this](bool on) { pasteTimerDue = on ? std::optional<int>(clock + kPasteTimerMs) : std::nullopt; };
        h.monitorTimer = [this](bool on) { monitorLog.push_back(on); };
        h.busyPointer = [this](bool busy) { busyLog.push_back(busy); };
        ConnectHookEvents(state);
    }

    // Lets time pass; the paste timer fires when it is due.
    void advance(int ms) {
        clock += ms;
        if (pasteTimerDue && *pasteTimerDue <= clock) PasteTimerTick(state);
    }

    void clipboardClips(int count) {
        for (int i = 0; i < count; ++i) {
            putText({ListKind::ClipboardClips, i}, "clip " + std::to_string(i));
            state.lists.clipboardClips.titles[i] = "clip " + std::to_string(i);
        }
        state.lists.clipboardClips.count = count;
    }
    void groupClip(int slot, const std::string& text, std::uint8_t mode) {
        putText({ListKind::GroupClips, slot}, text);
        state.lists.groupClips.titles[slot] = text;
        state.lists.groupClips.modes[slot] = mode;
    }
    void transferSlot(int slot, const std::string& text, std::uint8_t mode) {
        putText({ListKind::TransferSlots, slot}, text);
        state.lists.transferSlots.titles[slot] = text;
        state.lists.transferSlots.modes[slot] = mode;
        state.lists.transferSlots.states[slot] = kSlotHoldsClip;
    }
    // A "Hot Key Clips" clip, with its title in "group22.dat".
    void hotKeyClip(int letter, const std::string& text) {
        putText({ListKind::GroupClips, letter, kHotKeyGroup}, text);
        ASSERT_TRUE(WriteTitleAt(GroupTitlesPath(dir.path(), kHotKeyGroup), letter, text));
    }

    std::vector<std::string> typedKeys() const {
        std::vector<std::string> out;
        for (const auto& k : keys->typed) out.push_back(k.keys);
        return out;
    }
    // The clipboard's text without its NUL; nullopt when it holds none.
    std::optional<std::string> clipboardText() const {
        auto b = fake.clipboard->bytesOf("");
        if (!b) return std::nullopt;
        std::string s(b->begin(), b->end());
        if (!s.empty() && s.back() == '\0') s.pop_back();
        return s;
    }
    bool marked() const { return fake.clipboard->bytesOf(platform::kMarkerName) == Bytes({'o', 'k'}); }
    bool mainMinimised() const { return state.mainForm.form.window.show == ui::WindowShow::Minimised; }

    platform::WindowId target = 0;
    KeyRecorder* keys = nullptr;
    int clock = 0;
    std::optional<int> pasteTimerDue;
    std::vector<bool> monitorLog;
    std::vector<bool> busyLog;
};

}  // namespace pellion::test
