// Reads the Windows BMP pictures a script names. The header is checked against
// the file's length before anything is decoded: a file cut short is refused,
// never filled up silently, and a file far longer than its header describes is
// not read at all.
#pragma once

#include "compiler/Picture.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vv::pdb {

class PictureReader {
public:
    // The picture (alpha dropped), or nothing with the reason in `error`.
    // Refuses anything that is not a complete, uncompressed or RLE BMP, and any
    // path that is not a regular file.
    static std::optional<Picture> read(const QString& path, QString* error);
    static std::optional<Picture> decode(const QByteArray& bytes, QString* error);

    // The check alone: empty when the BMP header promises no more bytes than
    // the file holds, else the reason.
    static QString checkBmpHeader(const QByteArray& bytes);

    // The most bytes a file starting with `header` (its first 54 bytes) may
    // have: the pixel data its header describes, plus room for a trailing
    // profile. A header that describes nothing readable allows only itself.
    static qint64 largestFileFor(const QByteArray& header);
};

} // namespace vv::pdb
