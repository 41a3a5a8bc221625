#include "platform/keystrokes.h"

#include <map>

namespace pellion::platform {

namespace {

const std::map<std::string, Key>& keyNames() {
    static const std::map<std::string, Key> names = {
        {"INSERT", Key::Insert}, {"HOME", Key::Home},   {"END", Key::End},     {"BACKSPACE", Key::Backspace},
        {"ENTER", Key::Enter},   {"TAB", Key::Tab},     {"DOWN", Key::Down},   {"UP", Key::Up},
        {"LEFT", Key::Left},     {"RIGHT", Key::Right}, {"DELETE", Key::Delete}, {"ESC", Key::Escape},
        {"F1", Key::F1},
    };
    return names;
}

// Decodes one UTF-8 character at text[i], advancing i; nullopt when invalid.
std::optional<char32_t> nextChar(const std::string& text, std::size_t& i) {
    const auto b = static_cast<unsigned char>(text[i]);
    int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + extra >= text.size()) return std::nullopt;
    char32_t c = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto cont = static_cast<unsigned char>(text[i + k]);
        if ((cont & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (cont & 0x3F);
    }
    i += extra + 1;
    return c;
}

}  // namespace

std::optional<std::vector<KeyStroke>> parseKeys(const std::string& notation) {
    std::vector<KeyStroke> out;
    bool shift = false;
    std::size_t i = 0;
    while (i < notation.size()) {
        const char c = notation[i];
        if (c == '+') {
            if (shift) return std::nullopt;
            shift = true;
            ++i;
            continue;
        }
        KeyStroke stroke;
        stroke.shift = shift;
        if (c == '{') {
            const auto close = notation.find('}', i + 1);
            if (close == std::string::npos) return std::nullopt;
            const std::string name = notation.substr(i + 1, close - i - 1);
            auto it = keyNames().find(name);
            if (it != keyNames().end()) {
                stroke.key = it->second;
            } else if (name.size() == 1) {  // "{+}" and friends type the character itself
                stroke.character = static_cast<unsigned char>(name[0]);
            } else {
                return std::nullopt;
            }
            i = close + 1;
        } else if (c == '}') {
            return std::nullopt;
        } else {
            auto ch = nextChar(notation, i);
            if (!ch) return std::nullopt;
            stroke.character = *ch;
        }
        out.push_back(stroke);
        shift = false;
    }
    if (shift) return std::nullopt;
    return out;
}

}  // namespace pellion::platform
