// Fixed-width fields in both byte orders: big-endian for every Palm OS
// structure, little-endian for Windows bitmaps. Readers check bounds before
// they call these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vv::formats {

namespace be {

inline void append16(std::string& out, std::uint32_t v) {
    out.push_back(char(v >> 8));
    out.push_back(char(v));
}
inline void append32(std::string& out, std::uint32_t v) {
    append16(out, v >> 16);
    append16(out, v & 0xFFFF);
}
inline void set16(std::string& out, std::size_t at, std::uint32_t v) {
    out[at] = char(v >> 8);
    out[at + 1] = char(v);
}
inline void set32(std::string& out, std::size_t at, std::uint32_t v) {
    set16(out, at, v >> 16);
    set16(out, at + 2, v & 0xFFFF);
}
inline std::uint16_t read16(std::string_view b, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data()) + at;
    return std::uint16_t(p[0] << 8 | p[1]);
}
inline std::uint32_t read32(std::string_view b, std::size_t at) {
    return std::uint32_t(read16(b, at)) << 16 | read16(b, at + 2);
}

} // namespace be

namespace le {

inline std::uint16_t read16(std::string_view b, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data()) + at;
    return std::uint16_t(p[0] | p[1] << 8);
}
inline std::uint32_t read32(std::string_view b, std::size_t at) {
    return std::uint32_t(read16(b, at)) | std::uint32_t(read16(b, at + 2)) << 16;
}
inline void set16(std::string& out, std::size_t at, std::uint32_t v) {
    out[at] = char(v);
    out[at + 1] = char(v >> 8);
}
inline void set32(std::string& out, std::size_t at, std::uint32_t v) {
    set16(out, at, v & 0xFFFF);
    set16(out, at + 2, v >> 16);
}

} // namespace le

} // namespace vv::formats
