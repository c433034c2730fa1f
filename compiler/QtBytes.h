// The few conversions between the compiler's plain byte strings and Qt's types,
// for the program's core and tests that hold QByteArrays and QStrings.
#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

namespace vv::pdb {

inline std::string_view bytesOf(const QByteArray& bytes) {
    return {bytes.constData(), std::size_t(bytes.size())};
}
inline QByteArray qtBytes(std::string_view bytes) {
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}
// The compiler's texts and paths are UTF-8.
inline QString qtText(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string utf8Of(const QString& text) {
    return text.toStdString();
}

} // namespace vv::pdb
