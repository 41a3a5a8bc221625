#include "platform/x11/x11_hooks.h"

#include <xcb/xinput.h>

#include <QObject>
#include <QTimer>
#include <algorithm>

#include "platform/x11/x11_window_query.h"

namespace pellion::platform::x11 {

namespace {

constexpr std::uint16_t kModifierBits = 0xFF;  // Shift, Lock, Control, Mod1..Mod5

}  // namespace

X11Hooks::X11Hooks(std::shared_ptr<Connection> x) : x_(std::move(x)), context_(std::make_unique<QObject>()) {
    keymap_ = Keymap::fetch(*x_);
    listener_ = x_->addListener([this](const xcb_generic_event_t& e) { onEvent(e); });

    xcb_connection_t* c = x_->xcb();
    const xcb_query_extension_reply_t* xi = xcb_get_extension_data(c, &xcb_input_id);
    if (xi && xi->present) {
        ReplyPtr<xcb_input_xi_query_version_reply_t> version(
            xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr));
        if (version && version->major_version >= 2) {
            xinputOpcode_ = xi->major_opcode;
            struct {
                xcb_input_event_mask_t head;
                std::uint32_t bits;
            } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
                   XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE |
                       XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE};
            ReplyPtr<xcb_generic_error_t> error(
                xcb_request_check(c, xcb_input_xi_select_events_checked(c, x_->root(), 1, &mask.head)));
            raw_ = !error;
        }
    }
    // Keys already down when we start count as held.
    ReplyPtr<xcb_query_keymap_reply_t> keys(xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr));
    if (keys)
        for (int code = 8; code < 256; ++code)
            if ((keys->keys[code / 8] >> (code % 8)) & 1) held_.insert(std::uint8_t(code));

    clickTimer_ = new QTimer(context_.get());
    clickTimer_->setInterval(20);
    QObject::connect(clickTimer_, &QTimer::timeout, context_.get(), [this] { checkClickFocus(); });

    // Ctrl with a plus key switches the hot keys back on, so it is always watched.
    for (std::uint32_t vkCode : {vk::Plus, vk::NumpadPlus}) {
        const std::uint32_t code = keyCode(kCtrlMask, vkCode);
        if (grab(code)) permanent_.insert(code);
    }
}

X11Hooks::~X11Hooks() {
    for (const auto& entry : grabs_)
        for (std::uint16_t locks : lockVariants())
            for (const Grab& g : entry.second)
                xcb_ungrab_key(x_->xcb(), g.keycode, x_->root(), std::uint16_t(g.modifiers | locks));
    xcb_flush(x_->xcb());
    x_->removeListener(listener_);
}

std::vector<std::uint16_t> X11Hooks::lockVariants() const {
    const std::uint16_t num = keymap_.numLockBit();
    std::vector<std::uint16_t> out{0, keysyms::kXLock};
    if (num) out.insert(out.end(), {num, std::uint16_t(num | keysyms::kXLock)});
    return out;
}

std::vector<X11Hooks::Grab> X11Hooks::grabsFor(std::uint32_t code) const {
    const std::uint32_t mask = code >> 16;
    if (mask > (kShiftMask | kCtrlMask | kAltMask)) return {};
    const std::uint16_t modifiers = keysyms::toXModifiers(mask, keymap_.altBit());
    for (std::uint32_t keysym : keysyms::forVirtualKey(code & 0xFFFF)) {
        const auto keycodes = keysyms::keycodesOf(keymap_.keys, keysym);
        if (keycodes.empty()) continue;
        std::vector<Grab> out;
        for (std::uint8_t keycode : keycodes) out.push_back({keycode, modifiers});
        return out;
    }
    return {};
}

bool X11Hooks::grab(std::uint32_t code) {
    const auto wanted = grabsFor(code);
    if (wanted.empty()) return false;
    xcb_connection_t* c = x_->xcb();
    std::vector<xcb_void_cookie_t> cookies;
    for (const Grab& g : wanted)
        for (std::uint16_t locks : lockVariants())
            cookies.push_back(xcb_grab_key_checked(c, 1, x_->root(), std::uint16_t(g.modifiers | locks), g.keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    bool refused = false;
    for (auto cookie : cookies) {
        ReplyPtr<xcb_generic_error_t> error(xcb_request_check(c, cookie));
        refused |= bool(error);
    }
    if (refused) {
        // Another program holds the combination: take back the variants we
        // did get, so that none of them is left half-watched.
        for (const Grab& g : wanted)
            for (std::uint16_t locks : lockVariants())
                xcb_ungrab_key(c, g.keycode, x_->root(), std::uint16_t(g.modifiers | locks));
        xcb_flush(c);
        return false;
    }
    grabs_[code] = wanted;
    return true;
}

void X11Hooks::ungrab(std::uint32_t code) {
    auto it = grabs_.find(code);
    if (it == grabs_.end()) return;
    for (const Grab& g : it->second)
        for (std::uint16_t locks : lockVariants())
            xcb_ungrab_key(x_->xcb(), g.keycode, x_->root(), std::uint16_t(g.modifiers | locks));
    xcb_flush(x_->xcb());
    grabs_.erase(it);
}

bool X11Hooks::addKey(std::uint32_t code) {
    if (isObservedOnly(code)) {
        if (!raw_) return false;
        observed_.insert(code);
        return true;
    }
    if (grabs_.count(code)) return true;
    return grab(code);
}

void X11Hooks::removeKey(std::uint32_t code) {
    observed_.erase(code);
    if (!permanent_.count(code)) ungrab(code);
}

void X11Hooks::setMonitoring(MonitoringState state) {
    if (state == MonitoringState::Normal && monitoring_ == MonitoringState::Typing) {
        // Our own keys are still on their way: let them pass while still typing.
        x_->sync();
        x_->drain();
        pressed_.clear();
        pressedIn_.clear();
    }
    monitoring_ = state;
}

void X11Hooks::armMouse(bool armed) {
    clickTimer_->stop();
    clickPending_ = false;
    if (armed) {
        // The click that armed us may still be queued: it must not count.
        mouseArmed_ = false;
        x_->sync();
        x_->drain();
    }
    mouseArmed_ = armed;
    pressSeen_ = false;
}

void X11Hooks::refreshKeymap() {
    keymap_ = Keymap::fetch(*x_);
    std::vector<std::uint32_t> moved;
    for (const auto& entry : grabs_)
        if (grabsFor(entry.first) != entry.second) moved.push_back(entry.first);
    for (std::uint32_t code : moved) {
        // The lock variants of the old grabs were computed with the old map;
        // close enough, as the server forgets grabs of keys that change.
        ungrab(code);
        grab(code);
    }
}

void X11Hooks::onEvent(const xcb_generic_event_t& e) {
    const std::uint8_t type = e.response_type & 0x7F;
    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
        const auto& k = reinterpret_cast<const xcb_key_press_event_t&>(e);
        if (k.event == x_->root()) onGrabbedKey(type == XCB_KEY_PRESS, k.detail, k.state, k.time);
    } else if (type == XCB_GE_GENERIC && xinputOpcode_) {
        const auto& g = reinterpret_cast<const xcb_ge_generic_event_t&>(e);
        if (g.extension != xinputOpcode_) return;
        const auto& raw = reinterpret_cast<const xcb_input_raw_key_press_event_t&>(e);
        switch (g.event_type) {
            case XCB_INPUT_RAW_KEY_PRESS: onRawKey(true, std::uint8_t(raw.detail)); break;
            case XCB_INPUT_RAW_KEY_RELEASE: onRawKey(false, std::uint8_t(raw.detail)); break;
            case XCB_INPUT_RAW_BUTTON_PRESS: onRawButton(true, raw.detail); break;
            case XCB_INPUT_RAW_BUTTON_RELEASE: onRawButton(false, raw.detail); break;
            default: break;
        }
    } else if (type == XCB_MAPPING_NOTIFY) {
        refreshKeymap();
    }
}

void X11Hooks::onGrabbedKey(bool press, std::uint8_t keycode, std::uint16_t state, xcb_timestamp_t time) {
    // While one of our grabs is active the server sends us every key as a
    // core event and no raw events: the held keys follow these instead.
    if (press)
        held_.insert(keycode);
    else
        held_.erase(keycode);
    if (press) {
        // Auto-repeat sends release and press with one time stamp.
        auto repeat = std::find_if(pendingReleases_.begin(), pendingReleases_.end(), [&](const PendingRelease& r) {
            return r.keycode == keycode && r.time == time;
        });
        if (repeat != pendingReleases_.end()) {
            pressed_[keycode] = repeat->code;
            pressedIn_[keycode] = repeat->foreground;
            pendingReleases_.erase(repeat);
            return;
        }
        const std::uint16_t modifiers =
            state & kModifierBits & ~std::uint16_t(keysyms::kXLock | keymap_.numLockBit());
        for (const auto& [code, grabs] : grabs_) {
            if (std::find(grabs.begin(), grabs.end(), Grab{keycode, modifiers}) == grabs.end()) continue;
            pressed_[keycode] = code;
            pressedIn_[keycode] = foregroundWindow(*x_);
        }
        return;
    }
    auto it = pressed_.find(keycode);
    if (it == pressed_.end()) return;
    const xcb_window_t foreground = pressedIn_[keycode];
    pressedIn_.erase(keycode);
    if (monitoring_ != MonitoringState::Normal) {
        pressed_.erase(it);
        return;
    }
    const std::uint64_t id = ++releaseCount_;
    pendingReleases_.push_back({keycode, time, it->second, id, foreground});
    pressed_.erase(it);
    QTimer::singleShot(0, context_.get(), [this, id] {
        auto pending = std::find_if(pendingReleases_.begin(), pendingReleases_.end(),
                                    [&](const PendingRelease& r) { return r.id == id; });
        if (pending == pendingReleases_.end()) return;  // it was an auto-repeat
        const std::uint32_t code = pending->code;
        const xcb_window_t foreground = pending->foreground;
        pendingReleases_.erase(pending);
        report(code, foreground);
    });
}

std::uint32_t X11Hooks::heldMask() const {
    const std::uint16_t alt = keymap_.altBit();
    std::uint32_t mask = 0;
    for (std::uint8_t key : held_) {
        for (int row = 0; row < 8; ++row) {
            const auto& codes = keymap_.modifiers[row];
            if (std::find(codes.begin(), codes.end(), key) == codes.end()) continue;
            if (row == 0) mask |= kShiftMask;
            if (row == 2) mask |= kCtrlMask;
            if ((1u << row) == alt) mask |= kAltMask;
        }
    }
    return mask;
}

std::uint32_t X11Hooks::virtualKeyOf(std::uint8_t keycode) const {
    for (std::uint32_t code : observed_) {
        const std::uint32_t vkCode = code & 0xFFFF;
        for (std::uint32_t keysym : keysyms::forVirtualKey(vkCode)) {
            const auto keycodes = keysyms::keycodesOf(keymap_.keys, keysym);
            if (std::find(keycodes.begin(), keycodes.end(), keycode) != keycodes.end()) return vkCode;
        }
    }
    return 0;
}

void X11Hooks::onRawKey(bool press, std::uint8_t keycode) {
    if (!press) {
        held_.erase(keycode);
        auto it = pressed_.find(keycode);
        // A grabbed key is reported from its core release instead.
        if (it == pressed_.end() || grabs_.count(it->second)) return;
        const std::uint32_t code = it->second;
        pressed_.erase(it);
        if (monitoring_ == MonitoringState::Normal) report(code);
        return;
    }
    const std::uint32_t code = keyCode(heldMask(), virtualKeyOf(keycode));
    held_.insert(keycode);
    if (monitoring_ == MonitoringState::Normal && observed_.count(code)) pressed_[keycode] = code;
}

void X11Hooks::onRawButton(bool press, std::uint32_t button) {
    if (!mouseArmed_ || button < 1 || button > 3) return;  // wheel steps are no clicks
    if (press) {
        pressSeen_ = true;
        ReplyPtr<xcb_query_pointer_reply_t> pointer(
            xcb_query_pointer_reply(x_->xcb(), xcb_query_pointer(x_->xcb(), x_->root()), nullptr));
        clicked_ = pointer && pointer->child ? clientOf(*x_, pointer->child) : 0;
        return;
    }
    if (!pressSeen_) return;
    mouseArmed_ = false;
    // The window manager moves the focus to the clicked window on its own time.
    clickPending_ = true;
    clickDeadline_ = std::chrono::steady_clock::now() + focusWait;
    checkClickFocus();
    if (clickPending_) clickTimer_->start();
}

void X11Hooks::checkClickFocus() {
    const xcb_window_t now = foregroundWindow(*x_);
    if (now != clicked_ && std::chrono::steady_clock::now() < clickDeadline_) return;
    clickTimer_->stop();
    clickPending_ = false;
    QTimer::singleShot(0, context_.get(), [this, now] {
        if (onMouseClick) onMouseClick(now);
    });
}

void X11Hooks::report(std::uint32_t code, xcb_window_t foreground) {
    if (monitoring_ != MonitoringState::Normal) return;
    const KeyRelease release{code & 0xFFFF, std::uint16_t(code >> 16), foreground};
    QTimer::singleShot(0, context_.get(), [this, release] {
        if (onKeyReleased) onKeyReleased(release);
    });
}

}  // namespace pellion::platform::x11
