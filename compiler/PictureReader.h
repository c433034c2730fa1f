// Reads the Windows BMP pictures a script names. QImage decodes them, but it
// accepts a file whose pixel data is cut short and fills the gap silently, so
// the header is checked against the file's length first.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace vv::pdb {

class PictureReader {
public:
    // The picture as Format_RGB32 (alpha dropped), or nothing with the reason in
    // `error`. Refuses anything that is not a complete, uncompressed or RLE BMP.
    static std::optional<QImage> read(const QString& path, QString* error);
    static std::optional<QImage> decode(const QByteArray& bytes, QString* error);

    // The check alone: empty when the BMP header promises no more bytes than
    // the file holds, else the reason.
    static QString checkBmpHeader(const QByteArray& bytes);
};

} // namespace vv::pdb
