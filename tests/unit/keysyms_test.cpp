#include "platform/keysyms.h"

#include <gtest/gtest.h>

#include "platform/hooks.h"

using namespace pellion::platform;
namespace ks = pellion::platform::keysyms;

TEST(Keysyms, NotationKeysAndCharacters) {
    EXPECT_EQ(ks::forKey(Key::Insert), 0xFF63u);
    EXPECT_EQ(ks::forKey(Key::Home), 0xFF50u);
    EXPECT_EQ(ks::forKey(Key::End), 0xFF57u);
    EXPECT_EQ(ks::forKey(Key::Backspace), 0xFF08u);
    EXPECT_EQ(ks::forKey(Key::Enter), 0xFF0Du);
    EXPECT_EQ(ks::forKey(Key::Tab), 0xFF09u);
    EXPECT_EQ(ks::forKey(Key::Down), 0xFF54u);
    EXPECT_EQ(ks::forKey(Key::F1), 0xFFBEu);
    EXPECT_EQ(ks::forKey(Key::Character), 0u);

    EXPECT_EQ(ks::forCharacter(U'a'), 0x61u);
    EXPECT_EQ(ks::forCharacter(U'\u00e9'), 0xE9u);         // Latin-1 keysyms are the code points
    EXPECT_EQ(ks::forCharacter(U'\u20ac'), 0x010020ACu);   // the rest are Unicode keysyms
    EXPECT_EQ(ks::forCharacter(U'\n'), 0xFF0Du);
    EXPECT_EQ(ks::forCharacter(U'\t'), 0xFF09u);
    EXPECT_EQ(ks::forCharacter(0x01), 0u);
    EXPECT_EQ(ks::forCharacter(0x85), 0u);
    EXPECT_EQ(ks::forCharacter(0xD800), 0u);
}

TEST(Keysyms, VirtualKeysOfTheWatchedSet) {
    EXPECT_EQ(ks::forVirtualKey(vk::A), std::vector<std::uint32_t>{'a'});
    EXPECT_EQ(ks::forVirtualKey(vk::A + 25), std::vector<std::uint32_t>{'z'});
    EXPECT_EQ(ks::forVirtualKey(vk::Digit0 + 7), std::vector<std::uint32_t>{'7'});
    EXPECT_EQ(ks::forVirtualKey(vk::Numpad0 + 3), std::vector<std::uint32_t>{0xFFB3});
    EXPECT_EQ(ks::forVirtualKey(vk::NumpadMinus), std::vector<std::uint32_t>{0xFFAD});
    EXPECT_EQ(ks::forVirtualKey(vk::NumpadPlus), std::vector<std::uint32_t>{0xFFAB});
    EXPECT_EQ(ks::forVirtualKey(vk::Minus), std::vector<std::uint32_t>{'-'});
    EXPECT_EQ(ks::forVirtualKey(vk::Plus), (std::vector<std::uint32_t>{'+', '='}));
    EXPECT_EQ(ks::forVirtualKey(vk::Insert), std::vector<std::uint32_t>{0xFF63});
    EXPECT_TRUE(ks::forVirtualKey(0x70).empty());  // F1 is not watched
    EXPECT_TRUE(ks::forVirtualKey(0x5B).empty());

    EXPECT_EQ(ks::toXModifiers(kShiftMask), ks::kXShift);
    EXPECT_EQ(ks::toXModifiers(kCtrlMask | kAltMask), ks::kXControl | ks::kXMod1);
    EXPECT_EQ(ks::toXModifiers(kAltMask, 0x40), 0x40);  // Alt on Mod3
}

namespace {

// A few keys of a US layout, two keysyms per keycode, from keycode 8.
ks::KeyboardMap usMap() {
    ks::KeyboardMap map;
    map.minKeycode = 8;
    map.perKeycode = 2;
    map.syms.assign(2 * (120 - 8 + 1), 0);
    auto set = [&](int code, std::uint32_t a, std::uint32_t b) {
        map.syms[(code - 8) * 2] = a;
        map.syms[(code - 8) * 2 + 1] = b;
    };
    set(10, '1', '!');
    set(20, '-', '_');
    set(21, '=', '+');
    set(38, 'a', 'A');
    set(39, 's', 0);  // upper case left to the core rule
    set(50, ks::kShiftL, 0);
    set(86, 0xFFAB, 0xFFAB);
    set(90, 0xFF9E, 0xFFB0);  // KP_Insert / KP_0
    set(118, 0xFF63, 0);
    return map;
}

}  // namespace

TEST(Keysyms, FindsKeysInACoreMapping) {
    const auto map = usMap();
    EXPECT_EQ(ks::find(map, 'a'), (ks::KeyPosition{38, false}));
    EXPECT_EQ(ks::find(map, 'A'), (ks::KeyPosition{38, true}));
    EXPECT_EQ(ks::find(map, 'S'), (ks::KeyPosition{39, true}));
    EXPECT_EQ(ks::find(map, '+'), (ks::KeyPosition{21, true}));
    EXPECT_EQ(ks::find(map, 0xFF63), (ks::KeyPosition{118, false}));  // not the keypad's Insert
    EXPECT_EQ(ks::find(map, 0xFFB0), (ks::KeyPosition{90, true}));
    EXPECT_FALSE(ks::find(map, 0x010020AC));
    EXPECT_FALSE(ks::find(map, 0));

    EXPECT_EQ(ks::keycodesOf(map, '+'), std::vector<std::uint8_t>{21});
    EXPECT_EQ(ks::keycodesOf(map, 0xFFB0), std::vector<std::uint8_t>{90});
    EXPECT_TRUE(ks::keycodesOf(map, 0).empty());

    const auto spare = ks::spareKeycodes(map);
    EXPECT_EQ(spare.front(), 8);
    EXPECT_EQ(std::count(spare.begin(), spare.end(), 38), 0);
    EXPECT_EQ(spare.size(), (120u - 8 + 1) - 9);
    EXPECT_EQ(map.maxKeycode(), 120);
}
