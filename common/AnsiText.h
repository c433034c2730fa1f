// Windows-1252 text, the single-byte code page of the settings and language
// files. Qt 6 has no built-in codec for it (Latin-1 differs at 0x80..0x9F).
#pragma once

#include <QByteArray>
#include <QString>

namespace vv {

// Every byte to its character; the five unassigned bytes keep their C1 code points.
QString decodeAnsi(const QByteArray& bytes);
// Every character to its byte; a character without one becomes '?'.
QByteArray encodeAnsi(const QString& text);

} // namespace vv
