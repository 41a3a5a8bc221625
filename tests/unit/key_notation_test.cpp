#include "platform/keystrokes.h"

#include <gtest/gtest.h>

#include "platform/keysyms.h"

using namespace pellion::platform;

// Each string parses whole into its strokes, or is refused whole.
TEST(KeyNotation, StringsParseWholeOrNotAtAll) {
    const std::pair<const char*, std::optional<std::vector<KeyStroke>>> cases[] = {
        {"{HOME}+{END}{BACKSPACE}+{INSERT}{ENTER}",
         std::vector<KeyStroke>{{Key::Home, 0, false}, {Key::End, 0, true}, {Key::Backspace, 0, false},
                                {Key::Insert, 0, true}, {Key::Enter, 0, false}}},
        {"a\xC3\xA9{+}", std::vector<KeyStroke>{{Key::Character, U'a', false}, {Key::Character, U'\u00e9', false},
                                              {Key::Character, U'+', false}}},
        {"{TAB}{DOWN}{F1}", std::vector<KeyStroke>{{Key::Tab, 0, false}, {Key::Down, 0, false}, {Key::F1, 0, false}}},
        {"", std::vector<KeyStroke>{}},
        {"{NOSUCHKEY}", std::nullopt}, {"{ENTER", std::nullopt}, {"ENTER}", std::nullopt}, {"+", std::nullopt},
        {"{HOME}+", std::nullopt}, {"++{END}", std::nullopt}, {"\xC3", std::nullopt}, {"\xFF", std::nullopt},
    };
    for (const auto& [text, want] : cases) EXPECT_EQ(parseKeys(text), want) << text;
}

namespace ks = pellion::platform::keysyms;

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
    set(21, '=', '+');
    set(38, 'a', 'A');
    set(39, 's', 0);  // upper case left to the core rule
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
    // Keys borrowed for characters outside the map are typed by the keystroke tests.
}
