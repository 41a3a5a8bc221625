#pragma once
// Little-endian integers and floats in byte buffers, whatever the host order.
#include <cstdint>
#include <cstring>
#include <vector>

namespace pellion::le {

inline void putU(std::vector<std::uint8_t>& out, std::uint64_t v, int width) {
    for (int i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void putI16(std::vector<std::uint8_t>& out, std::int16_t v) { putU(out, static_cast<std::uint16_t>(v), 2); }
inline void putI32(std::vector<std::uint8_t>& out, std::int32_t v) { putU(out, static_cast<std::uint32_t>(v), 4); }
inline void putF32(std::vector<std::uint8_t>& out, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    putU(out, bits, 4);
}

inline std::uint64_t getU(const std::uint8_t* p, int width) {
    std::uint64_t v = 0;
    for (int i = 0; i < width; ++i) v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    return v;
}
inline std::int16_t getI16(const std::uint8_t* p) { return static_cast<std::int16_t>(getU(p, 2)); }
inline std::int32_t getI32(const std::uint8_t* p) { return static_cast<std::int32_t>(getU(p, 4)); }
inline float getF32(const std::uint8_t* p) {
    const auto bits = static_cast<std::uint32_t>(getU(p, 4));
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

}  // namespace pellion::le
