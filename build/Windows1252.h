// The single-byte code page of the handheld's database names and of the
// script text: Latin-1 plus the typographic characters at 0x80..0x9F.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace vv {

// The text as Windows-1252 bytes, or nothing when a character has no place in
// the code page (the caller decides whether that is an error).
std::optional<QByteArray> encodeWindows1252(const QString& text);

} // namespace vv
