#include "app/AnsiText.h"

#include <array>

namespace vv {
namespace {
// Characters of bytes 0x80..0x9F; 0 marks the five unassigned bytes.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QString decodeAnsi(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        char16_t unit = byte;
        if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0)
            unit = kHighControls[byte - 0x80];
        text.append(QChar(unit));
    }
    return text;
}

QByteArray encodeAnsi(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
            bytes.append(static_cast<char>(unit));
            continue;
        }
        char byte = '?';
        for (std::size_t i = 0; i < kHighControls.size(); ++i) {
            if (kHighControls[i] == unit || (kHighControls[i] == 0 && unit == 0x80 + i)) {
                byte = static_cast<char>(0x80 + i);
                break;
            }
        }
        bytes.append(byte);
    }
    return bytes;
}

} // namespace vv
