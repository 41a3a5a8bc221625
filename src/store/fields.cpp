#include "store/fields.h"

#include <algorithm>

#include "store/list_model.h"

namespace pellion::field {

namespace {

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Largest cut <= width that does not split a UTF-8 character. Text that is
// not UTF-8 (at most three continuation bytes are skipped back) is cut as is.
std::size_t boundaryCut(const std::string& s, std::size_t width) {
    if (s.size() <= width) return s.size();
    std::size_t cut = width;
    for (int back = 0; back < 3 && cut > 0 && isContinuation(s[cut]); ++back) --cut;
    return isContinuation(s[cut]) ? width : cut;
}

}  // namespace

std::string rightTrim(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string leftTrim(std::string text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    return text.substr(i);
}

std::string fit(const std::string& text, std::size_t width) {
    std::string out = text.substr(0, boundaryCut(text, width));
    out.resize(width, ' ');
    return out;
}

std::string text(const std::uint8_t* data, std::size_t width) {
    const auto* end = std::find(data, data + width, std::uint8_t{0});
    return rightTrim(std::string(data, end));
}

std::string textAt(const files::Bytes& bytes, std::size_t offset, std::size_t width) {
    if (offset >= bytes.size()) return {};
    return text(bytes.data() + offset, std::min(width, bytes.size() - offset));
}

std::string title(const std::string& text) {
    std::string t = text.substr(0, text.find('\0'));
    t.resize(boundaryCut(t, kTitleBytes));
    return rightTrim(std::move(t));
}

std::int16_t i16At(const files::Bytes& bytes, std::size_t offset, std::int16_t fallback) {
    if (offset + 2 > bytes.size()) return fallback;
    return static_cast<std::int16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::int32_t i32At(const files::Bytes& bytes, std::size_t offset, std::int32_t fallback) {
    if (offset + 4 > bytes.size()) return fallback;
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | bytes[offset + i];
    return static_cast<std::int32_t>(v);
}

void putI16(files::Bytes& bytes, std::int16_t value) {
    const auto v = static_cast<std::uint16_t>(value);
    bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putI32(files::Bytes& bytes, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

void putText(files::Bytes& bytes, const std::string& text, std::size_t width) {
    const std::string f = fit(text, width);
    bytes.insert(bytes.end(), f.begin(), f.end());
}

}  // namespace pellion::field
