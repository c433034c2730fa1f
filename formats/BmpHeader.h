// The headers of a Windows BMP file: the 14-byte file header and the info
// header after it (12-byte core, 40-byte info, the 52- and 56-byte versions
// with bit masks, OS/2's 64 bytes, V4 and V5), checked against the file they
// start. Every reader of BMP files (the compiler's decoder, the sheet loader)
// asks these functions, so a file gets one answer wherever it is opened.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vv::formats {

inline constexpr int kBmpFileHeaderSize = 14;
// The first bytes of a file that bmpHeaderOf and largestBmpFileFor need for
// every kind of info header.
inline constexpr int kBmpHeadSize = kBmpFileHeaderSize + 40;
// Pictures larger than this are no handheld bitmap; refusing them early keeps a
// hostile header from asking for gigabytes.
inline constexpr std::int64_t kBmpMaxPixels = 16 * 1024 * 1024;
// A bitmap's width and height are signed 16-bit fields on the handheld, and
// Qt's reader takes a core header's sides as signed as well: a longer side is
// refused by every route alike rather than read as a negative size by one.
inline constexpr std::int64_t kBmpMaxSide = 0x7FFF;

enum class BmpCompression : std::uint32_t {
    None = 0,
    Rle8 = 1,
    Rle4 = 2,
    BitFields = 3,
    AlphaBitFields = 6,
};

struct BmpHeader {
    std::uint32_t dataOffset = 0; // where the file header says the pixels start
    std::uint32_t infoSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // rows, positive also when stored top-down
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;   // the stated size of the pixel data (RLE needs it)
    std::uint32_t coloursUsed = 0; // 0: the full table of the bit depth

    bool isCore() const { return infoSize == 12; }
    bool isRunLength() const;
    bool hasBitFields() const;
    // Bytes of one stored row of uncompressed pixels, padded to 32 bits.
    std::int64_t stride() const { return (width * bitCount + 31) / 32 * 4; }
    // The pixel data's size as the header describes it: whole rows, or for
    // run-length data the size the header states.
    std::int64_t pixelBytes() const;
    // Entries of the colour table (0 above 8 bits) and the bytes of one entry.
    std::uint32_t colourCount() const;
    int colourEntrySize() const { return isCore() ? 3 : 4; }
    // Where the colour table (or the bit masks after a 40-byte header) begin.
    std::int64_t tableOffset() const { return kBmpFileHeaderSize + std::int64_t(infoSize); }
    // Where the pixels start at the earliest: after the table or the masks; a
    // data offset pointing back into them is not followed.
    std::int64_t pixelOffset() const;
};

// The red, green, blue and alpha masks of a bit-field picture (stored in the
// info header from 52 bytes on, after a 40-byte one), or the masks its depth
// implies (5-5-5 at 16 bits, 8-8-8 at 24 and 32). `bytes` holds the whole file.
std::array<std::uint32_t, 4> bmpBitMasks(std::string_view bytes, const BmpHeader& header);

// The header fields of a file starting with `head` (its first kBmpHeadSize
// bytes or more), or nothing with the reason in `error`: not a BMP, a header
// size no reader knows, an empty or oversized picture, a depth or compression
// no reader decodes.
std::optional<BmpHeader> bmpHeaderOf(std::string_view head, std::string* error);

// What a whole file check found. The two faults of data cut short are told
// apart so that a caller may word them its own way.
enum class BmpFault {
    None,
    Header,    // the header describes nothing readable; `problem` says why
    PixelsCut, // fewer bytes than the rows need
    RunsCut,   // run-length data that ends before the last row
    Table,     // colour table or bit masks unusable; `problem` says why
};

struct BmpCheck {
    BmpFault fault = BmpFault::None;
    std::string problem; // empty when the file is sound
    BmpHeader header;    // the fields read, whenever the header was readable
    bool ok() const { return fault == BmpFault::None; }
    // The offset one past the last byte of pixel data the header describes.
    std::int64_t pixelDataEnd() const { return std::int64_t(header.dataOffset) + header.pixelBytes(); }
};

// The header of the file `bytes` checked against its length: no byte it
// promises is missing. Decoders fill what a cut file lacks with black, often
// without a word, so this runs before any of them.
BmpCheck checkBmpFile(std::string_view bytes);

// The most bytes a file starting with `head` (its first kBmpHeadSize bytes)
// may have: the pixel data its header describes, plus room for a trailing
// profile. A header that describes nothing readable allows only itself.
std::int64_t largestBmpFileFor(std::string_view head);

// The file with a 52- or 56-byte info header widened to a 108-byte (V4) one,
// the same picture for readers that know only the documented sizes (Qt's
// refuses the two); nothing for any other file.
std::optional<std::string> withV4InfoHeader(std::string_view bytes);

// The file header and 40-byte info header of an uncompressed bottom-up
// picture whose `colours` table entries and rows follow them: what the
// program writes for every BMP it saves, byte for byte as Qt's writer does.
std::string plainBmpHeaders(std::int64_t width, std::int64_t height, int bitCount, std::uint32_t colours,
                            std::int32_t dotsPerMeterX, std::int32_t dotsPerMeterY);

} // namespace vv::formats
