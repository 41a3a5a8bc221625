#include "platform/x11/x11_keymap.h"

#include <algorithm>

namespace pellion::platform::x11 {

Keymap Keymap::fetch(Connection& x) {
    Keymap out;
    const xcb_setup_t* setup = xcb_get_setup(x.xcb());
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto mapCookie = xcb_get_keyboard_mapping(x.xcb(), setup->min_keycode, count);
    auto modCookie = xcb_get_modifier_mapping(x.xcb());
    ReplyPtr<xcb_get_keyboard_mapping_reply_t> map(xcb_get_keyboard_mapping_reply(x.xcb(), mapCookie, nullptr));
    ReplyPtr<xcb_get_modifier_mapping_reply_t> mods(xcb_get_modifier_mapping_reply(x.xcb(), modCookie, nullptr));
    if (map) {
        out.keys.minKeycode = setup->min_keycode;
        out.keys.perKeycode = map->keysyms_per_keycode;
        const auto* syms = xcb_get_keyboard_mapping_keysyms(map.get());
        out.keys.syms.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(map.get()));
    }
    if (mods) {
        const auto* codes = xcb_get_modifier_mapping_keycodes(mods.get());
        const int per = mods->keycodes_per_modifier;
        for (int row = 0; row < 8; ++row)
            for (int i = 0; i < per; ++i)
                if (codes[row * per + i]) out.modifiers[row].push_back(codes[row * per + i]);
    }
    return out;
}

std::uint16_t Keymap::modifierBitOf(std::uint32_t keysym) const {
    const auto codes = keysyms::keycodesOf(keys, keysym);
    for (int row = 0; row < 8; ++row)
        for (std::uint8_t code : modifiers[row])
            if (std::find(codes.begin(), codes.end(), code) != codes.end()) return std::uint16_t(1u << row);
    return 0;
}

std::uint16_t Keymap::altBit() const {
    const std::uint16_t bit = modifierBitOf(keysyms::kAltL);
    return bit ? bit : keysyms::kXMod1;
}

std::uint16_t Keymap::numLockBit() const { return modifierBitOf(keysyms::kNumLock); }

std::vector<std::uint8_t> Keymap::heldModifierKeys(const std::uint8_t down[32]) const {
    std::vector<std::uint8_t> held;
    const std::uint16_t locks = keysyms::kXLock | numLockBit();
    for (int row = 0; row < 8; ++row) {
        if (locks & (1u << row)) continue;
        for (std::uint8_t code : modifiers[row])
            if ((down[code / 8] >> (code % 8)) & 1) held.push_back(code);
    }
    std::sort(held.begin(), held.end());
    held.erase(std::unique(held.begin(), held.end()), held.end());
    return held;
}

bool Keymap::isModifierKey(std::uint8_t keycode) const {
    return std::any_of(modifiers.begin(), modifiers.end(), [&](const auto& row) {
        return std::find(row.begin(), row.end(), keycode) != row.end();
    });
}

}  // namespace pellion::platform::x11
