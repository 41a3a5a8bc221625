#pragma once
// Keystrokes typed into the foreground window, in the notation
// "+{INSERT}", "{HOME}", "+{END}", "{BACKSPACE}", "{ENTER}", "{TAB}",
// "{DOWN}", "{F1}": "+" holds Shift for the next key, braces name a key, and
// any other character stands for itself.
#include <optional>
#include <string>
#include <vector>

namespace pellion::platform {

enum class Key { Character, Insert, Home, End, Backspace, Enter, Tab, Down, Up, Left, Right, Delete, Escape, F1 };

struct KeyStroke {
    Key key = Key::Character;
    char32_t character = 0;  // for Key::Character
    bool shift = false;
    bool operator==(const KeyStroke&) const = default;
};

// nullopt for a string that is not well formed (unknown key name, an unclosed
// brace, a trailing "+"): nothing of it may be typed.
std::optional<std::vector<KeyStroke>> parseKeys(const std::string& notation);

class Keystrokes {
public:
    virtual ~Keystrokes() = default;
    // Types the keys into the foreground window; false (and nothing typed)
    // for a malformed string. With wait, returns once the target has
    // processed them.
    virtual bool send(const std::string& notation, bool wait) = 0;
};

}  // namespace pellion::platform
