// Windows-1252, the single-byte code page of the settings, language and script
// files, character by character. Plain C++ so that the resource compiler, which
// links no Qt, reads script text by the same rules as the program writes it.
#pragma once

#include <array>
#include <cstddef>

namespace vv::formats::ansi {

// Characters of bytes 0x80..0x9F; 0 marks the five unassigned bytes.
inline constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The character of a byte; the five unassigned bytes keep their C1 code points.
constexpr char16_t toUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0)
        return kHighControls[byte - 0x80];
    return byte;
}

// The byte of a character, or '?' when the code page has none.
constexpr char fromUnicode(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c || (kHighControls[i] == 0 && c == 0x80 + i))
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace vv::formats::ansi
