// Qt's keys as the rules' virtual-key codes: the keypad apart from the main
// keys, and the codes the navigation and hot key rules compare against.
#include <gtest/gtest.h>

#include "platform/hooks.h"
#include "ui/logic/keyboard.h"
#include "ui/main/virtual_keys.h"

using namespace pellion;
using pellion::ui::VirtualKey;
namespace key = pellion::ui::key;

TEST(VirtualKeys, NavigationAndActionKeys) {
    const std::pair<int, int> cases[] = {
        {Qt::Key_Return, key::Enter}, {Qt::Key_Enter, key::Enter},   {Qt::Key_Escape, key::Escape},
        {Qt::Key_PageUp, key::PageUp}, {Qt::Key_PageDown, key::PageDown}, {Qt::Key_Home, key::Home},
        {Qt::Key_End, key::End},       {Qt::Key_Left, key::Left},     {Qt::Key_Right, key::Right},
        {Qt::Key_Up, key::Up},         {Qt::Key_Down, key::Down},     {Qt::Key_F1, key::F1},
        {Qt::Key_A, key::A},           {Qt::Key_Z, key::Z},           {Qt::Key_0, key::Digit0},
        {Qt::Key_7, key::Digit0 + 7},  {Qt::Key_Insert, int(platform::vk::Insert)},
    };
    for (auto [qt, vk] : cases) EXPECT_EQ(VirtualKey(qt, Qt::NoModifier), vk) << std::hex << qt;
}

TEST(VirtualKeys, KeypadDigitsAndSignsAreTheirOwnKeys) {
    EXPECT_EQ(VirtualKey(Qt::Key_0, Qt::KeypadModifier), key::Numpad0);
    EXPECT_EQ(VirtualKey(Qt::Key_3, Qt::KeypadModifier), key::Numpad0 + 3);
    EXPECT_EQ(VirtualKey(Qt::Key_Minus, Qt::KeypadModifier), int(platform::vk::NumpadMinus));
    EXPECT_EQ(VirtualKey(Qt::Key_Plus, Qt::KeypadModifier), int(platform::vk::NumpadPlus));
    EXPECT_EQ(VirtualKey(Qt::Key_Minus, Qt::NoModifier), int(platform::vk::Minus));
    EXPECT_EQ(VirtualKey(Qt::Key_Equal, Qt::ShiftModifier), int(platform::vk::Plus));
    // With NumLock off the keypad's arrows and Enter are the plain keys.
    EXPECT_EQ(VirtualKey(Qt::Key_Up, Qt::KeypadModifier), key::Up);
    EXPECT_EQ(VirtualKey(Qt::Key_Enter, Qt::KeypadModifier), key::Enter);
    // Modifiers held with a letter do not change its code.
    EXPECT_EQ(VirtualKey(Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier), int(platform::vk::B));
}

TEST(VirtualKeys, KeysTheRulesDoNotUseGiveZero) {
    EXPECT_EQ(VirtualKey(Qt::Key_Exclam, Qt::ShiftModifier), 0);
    EXPECT_EQ(VirtualKey(Qt::Key_MediaPlay, Qt::NoModifier), 0);
}
