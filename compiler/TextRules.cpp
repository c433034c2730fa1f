#include "compiler/TextRules.h"

#include "formats/Windows1252.h"

namespace vv::pdb {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | c >> 6));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | c >> 12));
        out.push_back(char(0x80 | (c >> 6 & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | c >> 18));
        out.push_back(char(0x80 | (c >> 12 & 0x3F)));
        out.push_back(char(0x80 | (c >> 6 & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

// Calls `put` with each character of UTF-8 `text`: overlong forms, surrogates
// and anything past U+10FFFF count as invalid, one replacement per byte. A
// byte-order mark at the start is no character.
template <typename Put> void forEachCharacter(std::string_view text, Put put) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        i = 3;
    while (i < n) {
        const unsigned char lead = p[i];
        int length = 0;
        char32_t c = 0, smallest = 0;
        if (lead < 0x80) {
            put(char32_t(lead));
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, c = lead & 0x1F, smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, c = lead & 0x0F, smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, c = lead & 0x07, smallest = 0x10000;
        }
        bool valid = length > 0 && i + std::size_t(length) <= n;
        for (int k = 1; valid && k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                valid = false;
            else
                c = c << 6 | (p[i + k] & 0x3F);
        }
        valid = valid && c >= smallest && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
        if (valid) {
            put(c);
            i += std::size_t(length);
        } else {
            put(kReplacement);
            ++i;
        }
    }
}

} // namespace

std::string ansiToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes)
        appendUtf8(out, formats::ansi::toUnicode(static_cast<unsigned char>(b)));
    return out;
}

std::string utf8ToAnsi(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    forEachCharacter(text, [&](char32_t c) {
        if (c >= 0x10000)
            out.push_back('?'); // the first of two UTF-16 units
        out.push_back(formats::ansi::fromUnicode(c));
    });
    return out;
}

std::string latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes)
        appendUtf8(out, static_cast<unsigned char>(b));
    return out;
}

std::string scriptPath(std::string_view bytes) {
    // Scripts are Windows-1252 text; a valid UTF-8 name is taken as such so
    // that non-ASCII file names typed on this system still match. A replacement
    // character spelled out in the name counts as invalid too.
    std::string path;
    bool valid = true;
    forEachCharacter(bytes, [&](char32_t c) {
        valid = valid && c != kReplacement;
        appendUtf8(path, c);
    });
    if (!valid)
        path = ansiToUtf8(bytes);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

} // namespace vv::pdb
