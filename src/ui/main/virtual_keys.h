#pragma once
// Qt's keys as the virtual-key codes that the key rules speak (ui::key and
// platform::vk); the one place that maps between the two.
#include <Qt>

namespace pellion::ui {

// 0 for a key that has no code the rules use.
int VirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace pellion::ui
