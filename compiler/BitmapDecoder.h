// Reads Palm OS bitmaps and bitmap families (the bodies of Tbmp and tAIB
// resources) back into their fields and pixels: versions 0 to 3, every depth,
// all three compressions. Used to check what the compiler wrote; every offset
// is checked against the resource, so any byte string is safe to hand it.
#pragma once

#include "compiler/QtBytes.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>
#include <string_view>

namespace vv::pdb {

struct DecodedBitmap {
    int offset = 0; // of the header within the resource
    int version = 0;
    int width = 0;
    int height = 0;
    int rowBytes = 0;
    quint16 flags = 0;
    int depth = 0;    // 1, 2, 4, 8 or 16
    int density = 72; // 72 before version 3
    bool compressed = false;
    int compressionType = 0; // 0 scanline, 1 RLE, 2 PackBits (as stored)
    quint32 sizeField = 0;   // the compressed-size prefix, 0 when not compressed
    bool hasTransparency = false;
    // Index (up to 8 bpp) or RGB565 value (16 bpp) of the transparent colour;
    // for a version 2 16 bpp bitmap the 565 value of `transparentColour`.
    quint32 transparentValue = 0;
    QRgb transparentColour = 0; // version 2, 16 bpp: the 8-bit colour of the direct-colour info
    quint32 nextOffset = 0;     // bytes to the next member, 0 on the last
    int length = 0;             // bytes of header, extra info and pixel data, without padding
    QByteArray rows;            // the stored rows, uncompressed: rowBytes x height
    // Up to 8 bpp: Format_Indexed8 holding the stored indices, with the grey
    // levels (white first) or the system palette as colour table. 16 bpp:
    // Format_RGB32 with each 565 component widened by repeating its top bits.
    QImage image;

    // The stored value of a pixel: index, or 565 value at 16 bpp.
    int storedValue(int x, int y) const;
};

struct DecodedFamily {
    QList<DecodedBitmap> members; // in stored order
    int separatorOffset = -1;     // of the 16-byte separator before density-2 members; -1 when none
};

class BitmapDecoder {
public:
    // The members of a family, following the next offsets from the first byte
    // and stepping over the separator. Nothing with the reason in `error` when a
    // header or its data does not fit the resource.
    static std::optional<DecodedFamily> decodeFamily(std::string_view resource, QString* error);
    static std::optional<DecodedBitmap> decodeBitmap(std::string_view resource, int offset, QString* error);
    static std::optional<DecodedFamily> decodeFamily(const QByteArray& resource, QString* error) {
        return decodeFamily(bytesOf(resource), error);
    }
    static std::optional<DecodedBitmap> decodeBitmap(const QByteArray& resource, int offset, QString* error) {
        return decodeBitmap(bytesOf(resource), offset, error);
    }

    // The colours a depth of 1, 2 or 4 shows for its indices: white to black.
    static QList<QRgb> greyTable(int depth);
};

} // namespace vv::pdb
