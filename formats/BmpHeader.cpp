#include "formats/BmpHeader.h"

#include "formats/Endian.h"

#include <algorithm>
#include <cstdio>

namespace vv::formats {
namespace {

// Room for what some writers put after the pixels (an ICC profile, padding);
// anything beyond that is no picture this header describes.
constexpr std::int64_t kTrailingSlack = 1024 * 1024;
// The most a header, bit masks and a 256-colour table take before the pixels.
constexpr std::int64_t kMaxDataOffset = kBmpFileHeaderSize + 124 + 16 + 256 * 4 + kTrailingSlack;
// Where a V4 header's colour space fields begin, after the four masks.
constexpr std::size_t kV4Size = 108;

bool isKnownInfoSize(std::uint32_t size) {
    switch (size) {
    case 12:  // core (OS/2 1.x)
    case 40:  // info
    case 52:  // info with red, green and blue masks
    case 56:  // the same with an alpha mask
    case 64:  // OS/2 2.x
    case 108: // V4
    case 124: // V5
        return true;
    default:
        return false;
    }
}

std::string sizeText(std::int64_t width, std::int64_t height) {
    return "BMP picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

// Depths and compressions that go together; the rest no reader decodes.
std::string depthProblem(int bitCount, std::uint32_t compression) {
    const bool runs = compression == 1 || compression == 2;
    if (!runs && compression != 0 && compression != 3 && compression != 6)
        return "BMP with unsupported compression " + std::to_string(compression);
    if (!runs && bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return "BMP with " + std::to_string(bitCount) + " bits per pixel";
    if (compression == 0 || (bitCount == 8 && compression == 1) || (bitCount == 4 && compression == 2) ||
        ((bitCount == 16 || bitCount == 32) && (compression == 3 || compression == 6)))
        return {};
    return "BMP with " + std::to_string(bitCount) + " bits per pixel and compression " +
           std::to_string(compression);
}

// A field that may lie beyond the file's end reads as 0.
std::uint32_t boundedLe32(std::string_view bytes, std::int64_t at) {
    return at >= 0 && at + 4 <= std::int64_t(bytes.size()) ? le::read32(bytes, std::size_t(at)) : 0;
}

// Walks a run-length-encoded pixel stream as a decoder reads it and tells
// whether its bytes end while pixels are still missing. `fourBit` selects RLE4.
bool rleEndsEarly(const unsigned char* data, std::int64_t size, std::int64_t width, std::int64_t height,
                  bool fourBit) {
    std::int64_t at = 0, x = 0, y = 0;
    auto complete = [&] { return y >= height || (y == height - 1 && x >= width); };
    while (y < height) {
        if (at >= size)
            return !complete();
        const int count = data[at++];
        if (count != 0) { // a run of one value
            if (at >= size)
                return !complete();
            ++at;
            x = std::min(width, x + count);
            continue;
        }
        if (at >= size)
            return !complete();
        const int code = data[at++];
        if (code == 0) { // end of line
            x = 0;
            ++y;
        } else if (code == 1) { // end of picture: the rest is left as it is on purpose
            return false;
        } else if (code == 2) { // move right and down
            if (at + 2 > size)
                return !complete();
            x = std::min<std::int64_t>(width - 1, x + data[at]);
            y = std::min<std::int64_t>(height - 1, y + data[at + 1]);
            at += 2;
        } else { // `code` literal pixels, padded to whole 16-bit words
            const std::int64_t bytes = fourBit ? (code + 1) / 2 : code;
            const std::int64_t padded = (bytes + 1) / 2 * 2;
            if (at + bytes > size)
                return true;
            at += std::min(padded, size - at);
            x = std::min(width, x + code);
        }
    }
    return false;
}

// The colour table and the bit masks of a file whose pixel data is complete.
std::string tableProblem(std::string_view bytes, const BmpHeader& h) {
    if (h.bitCount <= 8) {
        const std::uint32_t colours = h.colourCount();
        if (colours > 256)
            return "BMP colour table of " + std::to_string(colours) + " entries";
        if (h.tableOffset() + std::int64_t(colours) * h.colourEntrySize() >= std::int64_t(bytes.size()))
            return "truncated BMP colour table";
        return {};
    }
    if (!h.hasBitFields())
        return {};
    for (const std::uint32_t mask : bmpBitMasks(bytes, h))
        if (mask == 0xFFFFFFFFu) { // no room left for a scale: Qt refuses these
            char text[16];
            std::snprintf(text, sizeof text, "%08x", unsigned(mask));
            return std::string("BMP bit mask ") + text;
        }
    return {};
}

} // namespace

bool BmpHeader::isRunLength() const {
    return compression == std::uint32_t(BmpCompression::Rle8) ||
           compression == std::uint32_t(BmpCompression::Rle4);
}

bool BmpHeader::hasBitFields() const {
    return compression == std::uint32_t(BmpCompression::BitFields) ||
           compression == std::uint32_t(BmpCompression::AlphaBitFields);
}

std::int64_t BmpHeader::pixelBytes() const {
    return isRunLength() ? std::int64_t(imageSize) : stride() * height;
}

std::uint32_t BmpHeader::colourCount() const {
    if (bitCount > 8)
        return 0;
    return coloursUsed ? coloursUsed : 1u << bitCount;
}

std::int64_t BmpHeader::pixelOffset() const {
    std::int64_t at = tableOffset();
    if (bitCount <= 8)
        at += std::int64_t(colourCount()) * colourEntrySize();
    else if (hasBitFields() && infoSize == 40)
        at = kBmpHeadSize + (compression == std::uint32_t(BmpCompression::AlphaBitFields) ? 16 : 12);
    return std::max<std::int64_t>(at, dataOffset);
}

std::array<std::uint32_t, 4> bmpBitMasks(std::string_view bytes, const BmpHeader& header) {
    std::array<std::uint32_t, 4> masks{0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0};
    if (header.hasBitFields()) {
        // Right after the 40 bytes every header with masks begins with.
        const bool alpha = header.compression == std::uint32_t(BmpCompression::AlphaBitFields) ||
                           header.infoSize == 56 || header.infoSize >= 108;
        for (int i = 0; i < (alpha ? 4 : 3); ++i)
            masks[std::size_t(i)] = boundedLe32(bytes, kBmpHeadSize + 4 * i);
    } else if (header.bitCount == 16) {
        masks = {0x7C00, 0x03E0, 0x001F, 0};
    }
    return masks;
}

std::optional<BmpHeader> bmpHeaderOf(std::string_view head, std::string* error) {
    auto fail = [&](std::string text) -> std::optional<BmpHeader> {
        if (error)
            *error = std::move(text);
        return std::nullopt;
    };
    const auto size = std::int64_t(head.size());
    if (size < 2 || head[0] != 'B' || head[1] != 'M')
        return fail("not a Windows BMP picture");
    if (size < kBmpFileHeaderSize + 12)
        return fail("truncated BMP header");
    BmpHeader h;
    h.dataOffset = le::read32(head, 10);
    h.infoSize = le::read32(head, 14);
    if (!isKnownInfoSize(h.infoSize))
        return fail("unknown BMP header size " + std::to_string(h.infoSize));
    if (h.isCore()) { // unsigned sides, always bottom-up
        h.width = le::read16(head, 18);
        h.height = le::read16(head, 20);
        h.bitCount = le::read16(head, 24);
    } else {
        if (size < kBmpHeadSize)
            return fail("truncated BMP header");
        h.width = std::int32_t(le::read32(head, 18));
        const std::int64_t height = std::int32_t(le::read32(head, 22));
        h.topDown = height < 0;
        h.height = h.topDown ? -height : height;
        h.bitCount = le::read16(head, 28);
        h.compression = le::read32(head, 30);
        h.imageSize = le::read32(head, 34);
        h.coloursUsed = le::read32(head, 46);
    }
    if (h.width <= 0 || h.height <= 0)
        return fail(sizeText(h.width, h.height));
    if (h.width > kBmpMaxSide || h.height > kBmpMaxSide || h.width * h.height > kBmpMaxPixels)
        return fail(sizeText(h.width, h.height) + " is too large");
    if (std::string problem = depthProblem(h.bitCount, h.compression); !problem.empty())
        return fail(std::move(problem));
    return h;
}

BmpCheck checkBmpFile(std::string_view bytes) {
    BmpCheck check;
    auto found = [&](BmpFault fault, std::string text) {
        check.fault = fault;
        check.problem = std::move(text);
        return check;
    };
    const std::optional<BmpHeader> header = bmpHeaderOf(bytes, &check.problem);
    if (!header) {
        check.fault = BmpFault::Header;
        return check;
    }
    check.header = *header;
    const BmpHeader& h = check.header;
    const auto fileSize = std::int64_t(bytes.size());
    if (h.tableOffset() > fileSize)
        return found(BmpFault::Header, "truncated BMP header");
    if (check.pixelDataEnd() > fileSize)
        return found(BmpFault::PixelsCut, "truncated BMP: the pixel data needs " +
                                              std::to_string(h.pixelBytes()) + " bytes from offset " +
                                              std::to_string(h.dataOffset) + ", the file has " +
                                              std::to_string(fileSize));
    if (h.isRunLength() && rleEndsEarly(reinterpret_cast<const unsigned char*>(bytes.data()) + h.dataOffset,
                                        fileSize - h.dataOffset, h.width, h.height,
                                        h.compression == std::uint32_t(BmpCompression::Rle4)))
        return found(BmpFault::RunsCut,
                     "truncated BMP: the run-length-encoded pixel data ends before the last row");
    if (std::string problem = tableProblem(bytes, h); !problem.empty())
        return found(BmpFault::Table, std::move(problem));
    return check;
}

std::int64_t largestBmpFileFor(std::string_view head) {
    const auto headSize = std::int64_t(head.size());
    const std::optional<BmpHeader> h = bmpHeaderOf(head, nullptr);
    if (!h || h->dataOffset > kMaxDataOffset)
        return headSize; // the full check names what is wrong
    // Run-length encoding at its worst: two bytes a pixel plus a line end.
    const std::int64_t pixelBytes =
        h->isRunLength() ? (2 * h->width + 2) * h->height + 2 : h->stride() * h->height;
    return std::int64_t(h->dataOffset) + pixelBytes + kTrailingSlack;
}

std::optional<std::string> withV4InfoHeader(std::string_view bytes) {
    const std::optional<BmpHeader> h = bmpHeaderOf(bytes, nullptr);
    if (!h || (h->infoSize != 52 && h->infoSize != 56) || h->tableOffset() > std::int64_t(bytes.size()))
        return std::nullopt;
    const std::size_t infoEnd = std::size_t(h->tableOffset());
    const std::size_t added = kV4Size - h->infoSize;
    // The V4 fields after the masks (alpha mask of a 52-byte header, colour
    // space, end points, gamma) stay zero: none of them changes a pixel.
    std::string out(bytes.substr(0, infoEnd));
    out.append(added, '\0');
    out.append(bytes.substr(infoEnd));
    le::set32(out, 2, std::uint32_t(out.size()));
    le::set32(out, 14, std::uint32_t(kV4Size));
    if (h->dataOffset >= infoEnd)
        le::set32(out, 10, h->dataOffset + std::uint32_t(added));
    return out;
}

std::string plainBmpHeaders(std::int64_t width, std::int64_t height, int bitCount, std::uint32_t colours,
                            std::int32_t dotsPerMeterX, std::int32_t dotsPerMeterY) {
    BmpHeader shape;
    shape.width = width;
    shape.bitCount = bitCount;
    const std::uint32_t offset = std::uint32_t(kBmpHeadSize) + colours * 4;
    const std::uint32_t pixels = std::uint32_t(shape.stride() * height);
    std::string out(std::size_t(kBmpHeadSize), '\0');
    out[0] = 'B';
    out[1] = 'M';
    le::set32(out, 2, offset + pixels);
    le::set32(out, 10, offset);
    le::set32(out, 14, 40);
    le::set32(out, 18, std::uint32_t(width));
    le::set32(out, 22, std::uint32_t(height));
    le::set16(out, 26, 1); // planes
    le::set16(out, 28, std::uint32_t(bitCount));
    le::set32(out, 34, pixels);
    le::set32(out, 38, std::uint32_t(dotsPerMeterX));
    le::set32(out, 42, std::uint32_t(dotsPerMeterY));
    le::set32(out, 46, colours);
    le::set32(out, 50, colours); // all of them important
    return out;
}

} // namespace vv::formats
