#pragma once
// Our serving of the CLIPBOARD as the keystrokes see it: a paste typed while
// we own the CLIPBOARD has been taken only once its program has asked us
// for the content and stopped asking. Some programs (Qt's) answer a ping
// before they handle the keys queued ahead of it, and drop what they are
// reading when the owner changes under them.
#include <atomic>
#include <chrono>
#include <cstdint>

namespace pellion::platform::x11 {

struct SelectionActivity {
    std::atomic<std::uint32_t> ownerWindow{0};  // the window of our latest ownership
    std::atomic<std::uint64_t> requests{0};
    std::atomic<std::chrono::steady_clock::rep> lastRequest{0};  // steady_clock ticks

    void requested() {
        lastRequest = std::chrono::steady_clock::now().time_since_epoch().count();
        ++requests;
    }
};

inline SelectionActivity& selectionActivity() {
    static SelectionActivity activity;
    return activity;
}

}  // namespace pellion::platform::x11
