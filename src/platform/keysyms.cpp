#include "platform/keysyms.h"

#include "platform/hooks.h"

namespace pellion::platform::keysyms {

namespace {

// Upper case of a Latin-1 keysym that has one, else 0.
std::uint32_t upperOf(std::uint32_t sym) {
    if (sym >= 'a' && sym <= 'z') return sym - 0x20;
    if (sym >= 0xE0 && sym <= 0xFE && sym != 0xF7) return sym - 0x20;
    return 0;
}

}  // namespace

std::uint32_t forKey(Key key) {
    switch (key) {
        case Key::Character: return 0;
        case Key::Insert: return 0xFF63;
        case Key::Home: return 0xFF50;
        case Key::End: return 0xFF57;
        case Key::Backspace: return 0xFF08;
        case Key::Enter: return 0xFF0D;
        case Key::Tab: return 0xFF09;
        case Key::Down: return 0xFF54;
        case Key::Up: return 0xFF52;
        case Key::Left: return 0xFF51;
        case Key::Right: return 0xFF53;
        case Key::Delete: return 0xFFFF;
        case Key::Escape: return 0xFF1B;
        case Key::F1: return 0xFFBE;
    }
    return 0;
}

std::uint32_t forCharacter(char32_t c) {
    switch (c) {
        case U'\n':
        case U'\r': return forKey(Key::Enter);
        case U'\t': return forKey(Key::Tab);
        case U'\b': return forKey(Key::Backspace);
        case 0x1B: return forKey(Key::Escape);
        default: break;
    }
    if ((c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xFF)) return c;
    if (c < 0xA0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return 0x01000000u + c;  // Unicode keysyms
}

std::vector<std::uint32_t> forVirtualKey(std::uint32_t code) {
    if (code >= vk::A && code <= vk::A + 25) return {code + 0x20};  // the lower-case letter
    if (code >= vk::Digit0 && code <= vk::Digit0 + 9) return {code};
    if (code >= vk::Numpad0 && code <= vk::Numpad0 + 9) return {0xFFB0 + (code - vk::Numpad0)};
    switch (code) {
        case vk::Insert: return {0xFF63};
        case vk::Minus: return {'-'};
        case vk::NumpadMinus: return {0xFFAD};
        case vk::Plus: return {'+', '='};  // the key that carries "+", else the US "=" key
        case vk::NumpadPlus: return {0xFFAB};
        default: return {};
    }
}

std::uint16_t toXModifiers(std::uint32_t shiftMask, std::uint16_t altBit) {
    std::uint16_t bits = 0;
    if (shiftMask & kShiftMask) bits |= kXShift;
    if (shiftMask & kCtrlMask) bits |= kXControl;
    if (shiftMask & kAltMask) bits |= altBit;
    return bits;
}

std::uint32_t KeyboardMap::at(int keycode, int column) const {
    if (keycode < minKeycode || keycode > maxKeycode() || column < 0 || column >= perKeycode) return 0;
    return syms[std::size_t(keycode - minKeycode) * perKeycode + column];
}

std::optional<KeyPosition> find(const KeyboardMap& map, std::uint32_t keysym) {
    if (keysym == 0) return std::nullopt;
    for (int column = 0; column < 2; ++column) {
        for (int code = map.minKeycode; code <= map.maxKeycode() && code <= 255; ++code) {
            std::uint32_t sym = map.at(code, column);
            if (column == 1 && sym == 0) sym = upperOf(map.at(code, 0));
            if (sym == keysym) return KeyPosition{std::uint8_t(code), column == 1};
        }
    }
    return std::nullopt;
}

std::vector<std::uint8_t> keycodesOf(const KeyboardMap& map, std::uint32_t keysym) {
    std::vector<std::uint8_t> out;
    if (keysym == 0) return out;
    for (int code = map.minKeycode; code <= map.maxKeycode() && code <= 255; ++code)
        if (map.at(code, 0) == keysym || map.at(code, 1) == keysym) out.push_back(std::uint8_t(code));
    return out;
}

std::vector<std::uint8_t> spareKeycodes(const KeyboardMap& map) {
    std::vector<std::uint8_t> out;
    for (int code = map.minKeycode; code <= map.maxKeycode() && code <= 255; ++code) {
        bool empty = true;
        for (int column = 0; column < map.perKeycode && empty; ++column) empty = map.at(code, column) == 0;
        if (empty) out.push_back(std::uint8_t(code));
    }
    return out;
}

}  // namespace pellion::platform::keysyms
