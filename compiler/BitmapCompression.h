// The three pixel-data compressions of Palm OS bitmaps. Each works row by row
// on the stored rows (rowBytes each, padding included) and never lets a packet
// cross a row end. The size prefix in front of compressed data is the caller's.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace vv::pdb {

enum class Compression { Scanline = 0, Rle = 1, PackBits = 2 };

class BitmapCompression {
public:
    // `wordPackBits` selects the 16-bit form of PackBits used at 16 bpp.
    static std::string compress(Compression method, std::string_view rows, int rowBytes, int height,
                                bool wordPackBits = false);
    // The length `compress` would return, without building it; once the count
    // reaches `limit` it may stop there and return a number at least `limit`.
    static std::ptrdiff_t compressedSize(Compression method, std::string_view rows, int rowBytes, int height,
                                         bool wordPackBits = false,
                                         std::ptrdiff_t limit = std::numeric_limits<std::ptrdiff_t>::max());

    // Expands `height` rows from `data`; nothing when the data ends early or
    // holds an invalid packet. `consumed` receives the bytes read.
    static std::optional<std::string> decompress(Compression method, const char* data, std::ptrdiff_t size,
                                                 int rowBytes, int height, bool wordPackBits = false,
                                                 std::ptrdiff_t* consumed = nullptr);
};

} // namespace vv::pdb
