#pragma once
// Clip files made on Windows carry that system's format numbers: text as
// UTF-16 (13), pictures as device-independent bitmaps (8, 17), and named
// formats that programs here know under MIME types. A restore turns such
// records into formats this platform can serve.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/clipboard.h"

namespace pellion {

struct ClipRecord {
    std::uint32_t id = 0;
    std::string name;  // empty for a format without a name
    std::vector<std::uint8_t> data;
    platform::FileSpan stored;  // or the bytes are left in the clip file
};

inline constexpr std::uint32_t kDibFormat = 8;
inline constexpr std::uint32_t kUnicodeTextFormat = 13;
inline constexpr std::uint32_t kDibV5Format = 17;

// Text as the text-only switch sees it: formats 1, 7 and 13.
bool IsTextRecord(const ClipRecord& r);

// The records in their order as they can be served: text (13 as UTF-8 where
// there is one, else format 1), format 7, the named ones; a bitmap as "image/bmp",
// "HTML Format" also as "text/html", "Rich Text Format" also as "text/rtf".
// Other records without a name hold numbers of another system and are left out.
std::vector<ClipRecord> ServableRecords(std::vector<ClipRecord> records);

// A record that ServableRecords passes on without reading its bytes, so
// they may stay in the file: text (1, 7) and named formats but the two whose
// bytes are also served under another name.
bool ServedAsStored(const ClipRecord& r);

}  // namespace pellion
