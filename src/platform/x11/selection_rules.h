#pragma once
// Rules of the X11 clipboard that need no display, kept apart so the unit
// tests can check them: which targets are protocol meta targets or text, how
// text is folded into format 1 and served back, and how a large block is cut
// into INCR chunks.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/utf8.h"

namespace pellion::platform::x11 {

enum class TargetKind {
    Meta,   // part of the selection protocol, not content
    Text,   // folds into format 1
    Skip,   // a core type whose bytes are server resource ids (PIXMAP, WINDOW, ...)
    Named,  // a format of its own: name = atom name, id = atom
};

// Atoms up to this number are predefined by the core protocol.
inline constexpr std::uint32_t kLastPredefinedAtom = 68;

inline constexpr std::array<std::string_view, 8> kMetaTargets = {
    "TARGETS", "TIMESTAMP", "MULTIPLE", "SAVE_TARGETS",
    "DELETE", "INSERT_SELECTION", "INSERT_PROPERTY", "TARGET_SIZES"};

// In the order a reader prefers them.
inline constexpr std::array<std::string_view, 6> kTextTargets = {
    "UTF8_STRING", "text/plain;charset=utf-8", "text/plain", "STRING", "TEXT", "COMPOUND_TEXT"};

// What format 1 is offered as when we own the selection.
inline constexpr std::array<std::string_view, 5> kServedTextTargets = {
    "UTF8_STRING", "STRING", "TEXT", "text/plain", "text/plain;charset=utf-8"};

// Lower is preferred; -1 for a target that is not text.
inline int textRank(std::string_view name) {
    for (std::size_t i = 0; i < kTextTargets.size(); ++i)
        if (kTextTargets[i] == name) return static_cast<int>(i);
    return -1;
}

inline TargetKind classifyTarget(std::string_view name, std::uint32_t atom) {
    if (std::find(kMetaTargets.begin(), kMetaTargets.end(), name) != kMetaTargets.end()) return TargetKind::Meta;
    if (textRank(name) >= 0) return TargetKind::Text;
    // Core types other than STRING name server resources or are not content;
    // atoms 1 and 7 would also collide with the text format numbers.
    if (atom == 0 || atom <= kLastPredefinedAtom || name.empty()) return TargetKind::Skip;
    return TargetKind::Named;
}

// A reply to a text target is text only under a text type, 8 bits wide:
// a picture or a list of atoms sent for UTF8_STRING is no text.
inline bool isTextReply(std::string_view typeName, int format) {
    if (format != 8) return false;
    return textRank(typeName) >= 0 || typeName == "C_STRING" || typeName.starts_with("text/plain");
}

// The atoms a TARGETS reply names. The protocol says ATOM, 32 bits; some old
// toolkits send 16-bit atoms, or the targets' names as a STRING (lookUp gives
// a name's atom, 0 when there is none).
inline std::vector<std::uint32_t> targetsOfReply(std::string_view typeName, int format,
                                                 const std::vector<std::uint8_t>& raw,
                                                 const std::function<std::uint32_t(std::string_view)>& lookUp) {
    std::vector<std::uint32_t> out;
    if (format == 32) {
        out.resize(raw.size() / 4);
        if (!out.empty()) std::memcpy(out.data(), raw.data(), out.size() * 4);
    } else if (format == 16) {
        for (std::size_t i = 0; i + 2 <= raw.size(); i += 2) {
            std::uint16_t a;
            std::memcpy(&a, raw.data() + i, 2);
            out.push_back(a);
        }
    } else if (format == 8 && textRank(typeName) >= 0) {
        const std::string_view all(reinterpret_cast<const char*>(raw.data()), raw.size());
        std::size_t i = 0;
        while (i < all.size()) {
            const std::size_t end = all.find_first_of(std::string_view("\0 \t\r\n,", 6), i);
            const std::string_view name = all.substr(i, end == std::string_view::npos ? end : end - i);
            if (!name.empty())
                if (const std::uint32_t a = lookUp(name)) out.push_back(a);
            if (end == std::string_view::npos) break;
            i = end + 1;
        }
    }
    std::erase(out, 0u);
    return out;
}

// A format id that may be served: text, OEM text, or a non-predefined atom.
inline bool isServableId(std::uint32_t id) { return id == 1 || id == 7 || id > kLastPredefinedAtom; }

// STRING is Latin-1: characters beyond it become '?'. Text that is not valid
// UTF-8 (a clip from elsewhere) is taken as Latin-1 already.
inline std::string utf8ToLatin1(std::string_view s) {
    if (!isValidUtf8(s)) return std::string(s);
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        std::uint32_t cp = n == 1 ? c : c & (0x7F >> n);
        for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out += cp <= 0xFF ? static_cast<char>(cp) : '?';
        i += n;
    }
    return out;
}

// The length of the longest head of p[0, n) that does not end inside a
// UTF-8 character, so that text read piece by piece converts piece by piece.
inline std::size_t utf8Cut(const std::uint8_t* p, std::size_t n) {
    for (std::size_t k = 1; k <= std::min<std::size_t>(n, 4); ++k) {
        const std::uint8_t c = p[n - k];
        if ((c & 0xC0) == 0x80) continue;
        const std::size_t length = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        return length > k ? n - k : n;
    }
    return n;
}

// How the bytes of a text reply are encoded, from its target or reply type.
// Guess: UTF-8 as long as the bytes read as UTF-8, else Latin-1.
enum class TextEncoding { Utf8, Latin1, Compound, Guess };

// Folds a text reply into format 1 (UTF-8 followed by one NUL) piece by
// piece as it arrives, so that a large text is never held whole. Compound
// text is taken only while it stays in its initial Latin-1 state (no
// escapes). A guess that meets bytes that are not UTF-8 ends with NotUtf8:
// the text is then read again as Latin-1.
class TextFold {
public:
    using Out = std::function<bool(const std::uint8_t*, std::size_t)>;
    enum class Result { Ok, Unreadable, NotUtf8, Refused };

    explicit TextFold(TextEncoding enc) : enc_(enc) {}

    Result piece(const std::uint8_t* p, std::size_t n, const Out& out) {
        switch (enc_) {
        case TextEncoding::Utf8:
            return send(p, n, out);
        case TextEncoding::Compound:
            if (std::find_if(p, p + n, [](std::uint8_t c) { return c == 0x1b || c == 0x9b; }) != p + n)
                return Result::Unreadable;
            [[fallthrough]];
        case TextEncoding::Latin1:
            converted_.clear();
            for (std::size_t i = 0; i < n; ++i) {
                if (p[i] < 0x80) {
                    converted_.push_back(p[i]);
                } else {
                    converted_.push_back(std::uint8_t(0xC0 | (p[i] >> 6)));
                    converted_.push_back(std::uint8_t(0x80 | (p[i] & 0x3F)));
                }
            }
            return send(converted_.data(), converted_.size(), out);
        case TextEncoding::Guess:
            return guess(p, n, out);
        }
        return Result::Unreadable;
    }

    // After the last piece: the NUL.
    Result finish(const Out& out) {
        if (!carry_.empty()) return Result::NotUtf8;  // cut inside a character
        const std::uint8_t nul = 0;
        return send(&nul, 1, out);
    }

private:
    static Result send(const std::uint8_t* p, std::size_t n, const Out& out) {
        return n == 0 || out(p, n) ? Result::Ok : Result::Refused;
    }
    static bool valid(const std::uint8_t* p, std::size_t n) {
        return isValidUtf8(std::string_view(reinterpret_cast<const char*>(p), n));
    }
    // Bytes of the character that c starts; 1 for a byte that starts none.
    static std::size_t lengthOf(std::uint8_t c) { return c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1; }

    // Whole characters pass through unchanged; a character cut by the end
    // of a piece waits for the next one.
    Result guess(const std::uint8_t* p, std::size_t n, const Out& out) {
        std::size_t i = 0;
        if (!carry_.empty()) {
            const std::size_t need = lengthOf(carry_.front());
            while (carry_.size() < need && i < n) carry_.push_back(p[i++]);
            if (carry_.size() < need) return Result::Ok;
            if (!valid(carry_.data(), carry_.size())) return Result::NotUtf8;
            const Result r = send(carry_.data(), carry_.size(), out);
            carry_.clear();
            if (r != Result::Ok) return r;
        }
        std::size_t end = n;
        for (std::size_t back = 1; back <= 3 && back <= n - i; ++back) {
            const std::uint8_t c = p[n - back];
            if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
            if (lengthOf(c) > back) end = n - back;
            break;
        }
        if (!valid(p + i, end - i)) return Result::NotUtf8;
        carry_.assign(p + end, p + n);
        return send(p + i, end - i, out);
    }

    TextEncoding enc_;
    std::vector<std::uint8_t> converted_, carry_;
};

// Format 1 from a whole text reply; false for anything it cannot read
// faithfully (a guess reads as Latin-1 what is not UTF-8).
inline bool foldText(std::string_view bytes, TextEncoding enc, std::vector<std::uint8_t>& out) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto fold = [&](TextEncoding e) {
        out.clear();
        const TextFold::Out collect = [&out](const std::uint8_t* d, std::size_t n) {
            out.insert(out.end(), d, d + n);
            return true;
        };
        TextFold f(e);
        TextFold::Result r = f.piece(p, bytes.size(), collect);
        return r == TextFold::Result::Ok ? f.finish(collect) : r;
    };
    TextFold::Result r = fold(enc);
    if (r == TextFold::Result::NotUtf8) r = fold(TextEncoding::Latin1);
    if (r != TextFold::Result::Ok) out.clear();
    return r == TextFold::Result::Ok;
}

// The text of a format 1 block: up to its first NUL (a block may carry slack).
inline std::string_view textOfBlock(const std::vector<std::uint8_t>& block) {
    const auto* p = reinterpret_cast<const char*>(block.data());
    const auto end = std::find(block.begin(), block.end(), std::uint8_t{0});
    return std::string_view(p, static_cast<std::size_t>(end - block.begin()));
}

// Bytes per property write when serving: comfortably inside the server's
// maximum request (given in 4-byte units), at most kMaxChunk.
inline constexpr std::size_t kMaxChunk = 1u << 20;
inline std::size_t chunkSize(std::uint32_t maxRequestUnits) {
    const std::size_t maxBytes = static_cast<std::size_t>(maxRequestUnits) * 4;
    const std::size_t room = maxBytes > 1024 ? (maxBytes - 1024) & ~std::size_t{3} : 4096;
    return std::min(room, kMaxChunk);
}

// Number of property writes an INCR transfer of size bytes takes, excluding
// the closing zero-length write.
inline std::size_t chunkCount(std::size_t size, std::size_t chunk) { return chunk ? (size + chunk - 1) / chunk : 0; }

}  // namespace pellion::platform::x11
