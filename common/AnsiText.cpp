#include "common/AnsiText.h"

#include "formats/Windows1252.h"

namespace vv {

QString decodeAnsi(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes)
        text.append(QChar(formats::ansi::toUnicode(static_cast<unsigned char>(c))));
    return text;
}

QByteArray encodeAnsi(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    // UTF-16 units one by one: a character beyond the first plane gives two '?'.
    for (const QChar c : text)
        bytes.append(formats::ansi::fromUnicode(c.unicode()));
    return bytes;
}

} // namespace vv
