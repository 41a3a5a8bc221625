#pragma once
// System-wide keyboard and mouse hooks.
#include <cstdint>
#include <functional>

#include "platform/windows.h"

namespace pellion::platform {

// Key code of a combination: shift mask (1 Shift, 2 Ctrl, 4 Alt) times 65536
// plus the virtual-key code.
inline constexpr std::uint32_t kShiftMask = 1, kCtrlMask = 2, kAltMask = 4;
constexpr std::uint32_t keyCode(std::uint32_t mask, std::uint32_t vk) { return mask * 65536u + vk; }

namespace vk {
inline constexpr std::uint32_t Insert = 0x2D, Digit0 = 0x30, A = 0x41, B = 0x42, V = 0x56, Numpad0 = 0x60,
                               NumpadPlus = 0x6B, NumpadMinus = 0x6D, Plus = 0xBB, Minus = 0xBD;
}

// The user's own paste keystrokes are watched without being taken from the
// program they were meant for; every other watched combination is consumed.
constexpr bool isObservedOnly(std::uint32_t code) {
    return code == keyCode(kShiftMask, vk::Insert) || code == keyCode(kCtrlMask, vk::V);
}

struct KeyRelease {
    std::uint32_t vk = 0;     // virtual-key code
    std::uint16_t shift = 0;  // mask as above
    // The window in front when a consumed combination was pressed; 0 when
    // unknown. A hot key pastes there, whatever has come forward since.
    WindowId foreground = 0;
};

enum class MonitoringState { Typing = 0, Normal = 2 };

class Hooks {
public:
    virtual ~Hooks() = default;

    // False when the combination cannot be watched (another program holds
    // it); the code is then not in the watched set.
    virtual bool addKey(std::uint32_t code) = 0;
    virtual void removeKey(std::uint32_t code) = 0;
    // Typing: the program types its own keys, and nothing is reported.
    virtual void setMonitoring(MonitoringState state) = 0;
    // Armed, the next click anywhere is reported once.
    virtual void armMouse(bool armed) = 0;

    // Called on the user-interface thread. Ctrl with a plus key is reported
    // whether or not it was added.
    std::function<void(KeyRelease)> onKeyReleased;
    // The foreground window after the click.
    std::function<void(WindowId)> onMouseClick;
};

}  // namespace pellion::platform
