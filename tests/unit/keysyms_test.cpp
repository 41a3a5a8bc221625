#include "platform/keysyms.h"

#include <gtest/gtest.h>

#include "platform/hooks.h"

using namespace pellion::platform;
namespace ks = pellion::platform::keysyms;

TEST(Keysyms, NotationKeysAndCharacters) {
    const std::pair<Key, std::uint32_t> keys[] = {
        {Key::Insert, 0xFF63}, {Key::Home, 0xFF50}, {Key::End, 0xFF57}, {Key::Backspace, 0xFF08}, {Key::Enter, 0xFF0D},
        {Key::Tab, 0xFF09},    {Key::Down, 0xFF54}, {Key::F1, 0xFFBE},  {Key::Character, 0}};
    for (auto [key, sym] : keys) EXPECT_EQ(ks::forKey(key), sym) << int(key);

    // Latin-1 keysyms are the code points, the rest are Unicode keysyms;
    // controls other than newline and tab, and surrogates, have none.
    const std::pair<char32_t, std::uint32_t> characters[] = {
        {U'a', 0x61}, {0xE9, 0xE9}, {0x20AC, 0x010020AC}, {U'\n', 0xFF0D}, {U'\t', 0xFF09},
        {0x01, 0},    {0x85, 0},    {0xD800, 0}};
    for (auto [c, sym] : characters) EXPECT_EQ(ks::forCharacter(c), sym) << std::hex << std::uint32_t(c);
}

TEST(Keysyms, VirtualKeysOfTheWatchedSet) {
    using Syms = std::vector<std::uint32_t>;
    const std::pair<std::uint32_t, Syms> watched[] = {
        {vk::A, {'a'}},           {vk::A + 25, {'z'}},          {vk::Digit0 + 7, {'7'}},     {vk::Numpad0 + 3, {0xFFB3}},
        {vk::NumpadMinus, {0xFFAD}}, {vk::NumpadPlus, {0xFFAB}}, {vk::Minus, {'-'}},        {vk::Plus, {'+', '='}},
        {vk::Insert, {0xFF63}},   {0x70, {}} /* F1 is not watched */, {0x5B, {}}};
    for (const auto& [key, syms] : watched) EXPECT_EQ(ks::forVirtualKey(key), syms) << std::hex << key;

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
    // Insert is not the keypad's Insert; 'S' has no keysym of its own.
    const std::pair<std::uint32_t, std::optional<ks::KeyPosition>> found[] = {
        {'a', ks::KeyPosition{38, false}}, {'A', ks::KeyPosition{38, true}},      {'S', ks::KeyPosition{39, true}},
        {'+', ks::KeyPosition{21, true}},  {0xFF63, ks::KeyPosition{118, false}}, {0xFFB0, ks::KeyPosition{90, true}},
        {0x010020AC, std::nullopt},        {0, std::nullopt}};
    for (const auto& [sym, at] : found) EXPECT_EQ(ks::find(map, sym), at) << std::hex << sym;

    EXPECT_EQ(ks::keycodesOf(map, '+'), std::vector<std::uint8_t>{21});
    EXPECT_EQ(ks::keycodesOf(map, 0xFFB0), std::vector<std::uint8_t>{90});
    EXPECT_TRUE(ks::keycodesOf(map, 0).empty());

    const auto spare = ks::spareKeycodes(map);
    EXPECT_EQ(spare.front(), 8);
    EXPECT_EQ(std::count(spare.begin(), spare.end(), 38), 0);
    EXPECT_EQ(spare.size(), (120u - 8 + 1) - 9);
    EXPECT_EQ(map.maxKeycode(), 120);
}
