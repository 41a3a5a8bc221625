#include "store/windows_formats.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

#include "platform/clipboard.h"

namespace pellion {

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t u16At(const Bytes& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t u32At(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}
void putU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// UTF-16LE up to its first NUL as a text block: UTF-8 and one NUL. A lone
// surrogate becomes U+FFFD.
Bytes textFromUtf16(const Bytes& data) {
    std::string utf8;
    const std::size_t units = data.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        std::uint32_t cp = u16At(data, 2 * i);
        if (cp == 0) break;
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units) {
            const std::uint32_t low = u16At(data, 2 * i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
        appendUtf8(utf8, cp);
    }
    Bytes out(utf8.begin(), utf8.end());
    out.push_back(0);
    return out;
}

// A bitmap file: the 14-byte file header, whose last field says where the
// pixels start, then the device-independent bitmap unchanged.
std::optional<Bytes> bmpFromDib(const Bytes& dib) {
    if (dib.size() < 16 || dib.size() > std::numeric_limits<std::uint32_t>::max() - 14) return std::nullopt;
    const std::uint32_t headerSize = u32At(dib, 0);
    std::uint64_t colours = 0, entry = 4, masks = 0;
    if (headerSize == 12) {  // the oldest header: 3-byte palette entries
        const std::uint32_t bits = u16At(dib, 10);
        colours = bits >= 1 && bits <= 8 ? 1u << bits : 0;
        entry = 3;
    } else if (headerSize >= 40 && headerSize <= dib.size()) {
        const std::uint32_t bits = u16At(dib, 14), compression = u32At(dib, 16), used = u32At(dib, 32);
        // Colour masks follow the basic header; later headers hold them inside.
        if (headerSize == 40 && compression == 3) masks = 12;
        if (headerSize == 40 && compression == 6) masks = 16;
        colours = used ? used : bits >= 1 && bits <= 8 ? 1u << bits : 0;
    } else {
        return std::nullopt;
    }
    const std::uint64_t pixels = headerSize + masks + colours * entry;
    if (pixels > dib.size()) return std::nullopt;
    Bytes out{'B', 'M'};
    out.reserve(14 + dib.size());
    putU32(out, std::uint32_t(14 + dib.size()));
    putU32(out, 0);
    putU32(out, std::uint32_t(14 + pixels));
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

// The markup that a Windows HTML block's header points at: the fragment
// (StartFragment..EndFragment), else the document (StartHTML..EndHTML).
std::optional<Bytes> htmlFromWindowsHtml(const Bytes& data) {
    struct Field {
        const char* name;
        std::optional<std::int64_t> value;
    } fields[] = {{"StartFragment", {}}, {"EndFragment", {}}, {"StartHTML", {}}, {"EndHTML", {}}};
    // "Name:value" lines up to the markup.
    std::size_t pos = 0;
    while (pos < data.size() && data[pos] != '<') {
        std::size_t end = pos;
        while (end < data.size() && data[end] != '\r' && data[end] != '\n') ++end;
        const std::string line(data.begin() + std::ptrdiff_t(pos), data.begin() + std::ptrdiff_t(end));
        const auto colon = line.find(':');
        for (Field& f : fields) {
            if (colon == std::string::npos || line.compare(0, colon, f.name) != 0) continue;
            std::int64_t v = 0;
            const char* first = line.data() + colon + 1;
            while (first < line.data() + line.size() && *first == ' ') ++first;
            if (std::from_chars(first, line.data() + line.size(), v).ec == std::errc()) f.value = v;
        }
        pos = end;
        while (pos < data.size() && (data[pos] == '\r' || data[pos] == '\n')) ++pos;
    }
    for (int i : {0, 2}) {
        const auto& start = fields[i].value;
        const auto& end = fields[i + 1].value;
        if (start && end && *start >= 0 && *start < *end && std::uint64_t(*end) <= data.size())
            return Bytes(data.begin() + std::ptrdiff_t(*start), data.begin() + std::ptrdiff_t(*end));
    }
    return std::nullopt;
}

bool nameless(const ClipRecord& r, std::uint32_t id) { return r.name.empty() && r.id == id; }

}  // namespace

bool IsTextRecord(const ClipRecord& r) {
    return nameless(r, platform::kTextFormat) || nameless(r, platform::kOemTextFormat) ||
           nameless(r, kUnicodeTextFormat);
}

bool ServedAsStored(const ClipRecord& r) {
    if (r.name.empty()) return r.id == platform::kTextFormat || r.id == platform::kOemTextFormat;
    return r.name != "HTML Format" && r.name != "Rich Text Format";
}

std::vector<ClipRecord> ServableRecords(std::vector<ClipRecord> records) {
    auto named = [&](const char* name) {
        return std::any_of(records.begin(), records.end(), [&](const ClipRecord& r) { return r.name == name; });
    };
    auto first = [&](std::uint32_t id) {
        auto it = std::find_if(records.begin(), records.end(), [&](const ClipRecord& r) { return nameless(r, id); });
        return it == records.end() ? nullptr : &*it;
    };
    // Windows derives format 1 from 13 in the ANSI code page, which loses
    // what that page cannot hold: 13 is the text when there is one.
    const ClipRecord* unicode = first(kUnicodeTextFormat);
    // One bitmap is served: the basic header is the one most readers know.
    const ClipRecord* bitmap = nullptr;
    std::optional<Bytes> bmp;
    if (!named("image/bmp")) {
        for (std::uint32_t id : {kDibFormat, kDibV5Format}) {
            bitmap = first(id);
            if (bitmap && (bmp = bmpFromDib(bitmap->data))) break;
            bitmap = nullptr;
        }
    }
    bool addHtml = !named("text/html"), addRtf = !named("text/rtf");

    std::vector<ClipRecord> out;
    for (ClipRecord& r : records) {
        if (!r.name.empty()) {
            std::optional<Bytes> also;
            const char* as = nullptr;
            if (r.name == "HTML Format" && addHtml && (also = htmlFromWindowsHtml(r.data))) {
                as = "text/html";
                addHtml = false;
            }
            if (r.name == "Rich Text Format" && addRtf) {
                also = r.data;
                as = "text/rtf";
                addRtf = false;
            }
            out.push_back(std::move(r));
            if (as) out.push_back({0, as, std::move(*also), {}});
        } else if (r.id == platform::kTextFormat) {
            if (!unicode) out.push_back(std::move(r));
        } else if (r.id == platform::kOemTextFormat) {
            out.push_back(std::move(r));
        } else if (&r == unicode) {
            out.push_back({platform::kTextFormat, {}, textFromUtf16(r.data), {}});
        } else if (&r == bitmap) {
            out.push_back({0, "image/bmp", std::move(*bmp), {}});
        }
    }
    return out;
}

}  // namespace pellion
