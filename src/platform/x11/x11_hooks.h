#pragma once
#include <map>
#include <memory>
#include <set>

#include "platform/hooks.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_keymap.h"

class QObject;
class QTimer;

namespace pellion::platform::x11 {

// Hot keys are passive grabs on the root window (consumed); the paste
// keystrokes and mouse clicks are XInput2 raw events (only observed).
class X11Hooks : public Hooks {
public:
    explicit X11Hooks(std::shared_ptr<Connection> x);
    ~X11Hooks() override;

    bool addKey(std::uint32_t code) override;
    void removeKey(std::uint32_t code) override;
    void setMonitoring(MonitoringState state) override;
    void armMouse(bool armed) override;

    // How long a click waits for the window manager to move the focus.
    std::chrono::milliseconds focusWait{300};

private:
    struct Grab {
        std::uint8_t keycode;
        std::uint16_t modifiers;  // without lock bits
        bool operator==(const Grab&) const = default;
    };

    std::vector<Grab> grabsFor(std::uint32_t code) const;
    bool grab(std::uint32_t code);
    void ungrab(std::uint32_t code);
    std::vector<std::uint16_t> lockVariants() const;
    void refreshKeymap();

    void onEvent(const xcb_generic_event_t& event);
    void onGrabbedKey(bool press, std::uint8_t keycode, std::uint16_t state, xcb_timestamp_t time);
    void onRawKey(bool press, std::uint8_t keycode);
    void onRawButton(bool press, std::uint32_t button);
    std::uint32_t heldMask() const;
    std::uint32_t virtualKeyOf(std::uint8_t keycode) const;
    void report(std::uint32_t code, xcb_window_t foreground = 0);
    void checkClickFocus();

    std::shared_ptr<Connection> x_;
    int listener_ = 0;
    std::uint8_t xinputOpcode_ = 0;
    bool raw_ = false;  // XInput2 raw events are selected
    Keymap keymap_;
    std::map<std::uint32_t, std::vector<Grab>> grabs_;
    std::set<std::uint32_t> permanent_;  // Ctrl with a plus key
    std::set<std::uint32_t> observed_;
    MonitoringState monitoring_ = MonitoringState::Normal;

    std::set<std::uint8_t> held_;                      // keys down, from raw events
    std::map<std::uint8_t, std::uint32_t> pressed_;    // key -> code, pressed while watched
    std::map<std::uint8_t, xcb_window_t> pressedIn_;   // key -> the window in front at its press
    struct PendingRelease {
        std::uint8_t keycode;
        xcb_timestamp_t time;
        std::uint32_t code;
        std::uint64_t id;
        xcb_window_t foreground;
    };
    std::vector<PendingRelease> pendingReleases_;  // until an auto-repeat press could follow
    std::uint64_t releaseCount_ = 0;

    bool mouseArmed_ = false;
    bool pressSeen_ = false;
    bool clickPending_ = false;  // released, waiting for the focus to follow
    xcb_window_t clicked_ = 0;
    std::chrono::steady_clock::time_point clickDeadline_;
    std::unique_ptr<QObject> context_;
    QTimer* clickTimer_ = nullptr;
};

}  // namespace pellion::platform::x11
