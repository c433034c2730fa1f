// The three pixel-data compressions of Palm OS bitmaps. Each works row by row
// on the stored rows (rowBytes each, padding included) and never lets a packet
// cross a row end. The size prefix in front of compressed data is the caller's.
#pragma once

#include <QByteArray>

#include <limits>
#include <optional>

namespace vv::pdb {

enum class Compression { Scanline = 0, Rle = 1, PackBits = 2 };

class BitmapCompression {
public:
    // `wordPackBits` selects the 16-bit form of PackBits used at 16 bpp.
    static QByteArray compress(Compression method, const QByteArray& rows, int rowBytes, int height,
                               bool wordPackBits = false);
    // The length `compress` would return, without building it; once the count
    // reaches `limit` it may stop there and return a number at least `limit`.
    static qsizetype compressedSize(Compression method, const QByteArray& rows, int rowBytes, int height,
                                    bool wordPackBits = false,
                                    qsizetype limit = std::numeric_limits<qsizetype>::max());

    // Expands `height` rows from `data`; nothing when the data ends early or
    // holds an invalid packet. `consumed` receives the bytes read.
    static std::optional<QByteArray> decompress(Compression method, const char* data, qsizetype size,
                                                int rowBytes, int height, bool wordPackBits = false,
                                                qsizetype* consumed = nullptr);
};

} // namespace vv::pdb
