#include "compiler/PictureReader.h"

#include "compiler/BmpDecoder.h"
#include "compiler/InputFile.h"

#include <algorithm>
#include <memory>

namespace vv::pdb {
namespace {

std::uint32_t le32(std::string_view b, int at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data()) + at;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t le16(std::string_view b, int at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data()) + at;
    return std::uint16_t(p[0] | p[1] << 8);
}

// Pictures larger than this are no handheld bitmap; refusing them early keeps a
// hostile header from asking for gigabytes.
constexpr std::int64_t maxPixels = 16 * 1024 * 1024;

// Room for what some writers put after the pixels (an ICC profile, padding);
// anything beyond that is no picture this header describes.
constexpr std::int64_t trailingSlack = 1024 * 1024;
// The most a header, bit masks and a 256-colour table take before the pixels.
constexpr std::int64_t maxDataOffset = 14 + 124 + 16 + 256 * 4 + trailingSlack;

// Walks a run-length-encoded pixel stream as the decoder reads it and tells
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

} // namespace

std::string PictureReader::checkBmpHeader(std::string_view bytes) {
    const auto fileSize = std::int64_t(bytes.size());
    if (fileSize < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        return "not a Windows BMP picture";
    if (fileSize < 26)
        return "truncated BMP header";
    const std::uint32_t dataOffset = le32(bytes, 10);
    const std::uint32_t infoSize = le32(bytes, 14);
    std::int64_t width = 0, height = 0;
    int bitCount = 0;
    std::uint32_t compression = 0, imageSize = 0;
    if (infoSize == 12) {
        width = le16(bytes, 18);
        height = le16(bytes, 20);
        bitCount = le16(bytes, 24);
    } else if (infoSize >= 40) {
        if (fileSize < 14 + 40)
            return "truncated BMP header";
        width = std::int32_t(le32(bytes, 18));
        height = std::int32_t(le32(bytes, 22));
        bitCount = le16(bytes, 28);
        compression = le32(bytes, 30);
        imageSize = le32(bytes, 34);
    } else {
        return "unknown BMP header size " + std::to_string(infoSize);
    }
    if (14 + std::int64_t(infoSize) > fileSize)
        return "truncated BMP header";
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0)
        return "BMP picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (width * height > maxPixels)
        return "BMP picture of " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels is too large";
    std::int64_t needed = 0;
    if (compression == 0 || compression == 3 || compression == 6) { // plain rows or bit fields
        if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
            bitCount != 32)
            return "BMP with " + std::to_string(bitCount) + " bits per pixel";
        needed = (width * bitCount + 31) / 32 * 4 * height;
    } else if (compression == 1 || compression == 2) { // RLE8, RLE4: the header states the size
        needed = imageSize;
    } else {
        return "BMP with unsupported compression " + std::to_string(compression);
    }
    if (std::int64_t(dataOffset) + needed > fileSize)
        return "truncated BMP: the pixel data needs " + std::to_string(needed) + " bytes from offset " +
               std::to_string(dataOffset) + ", the file has " + std::to_string(fileSize);
    if ((compression == 1 || compression == 2) &&
        rleEndsEarly(reinterpret_cast<const unsigned char*>(bytes.data()) + dataOffset, fileSize - dataOffset,
                     width, height, compression == 2))
        return "truncated BMP: the run-length-encoded pixel data ends before the last row";
    return {};
}

std::int64_t PictureReader::largestFileFor(std::string_view header) {
    const auto headerSize = std::int64_t(header.size());
    if (headerSize < 26 || header[0] != 'B' || header[1] != 'M')
        return headerSize;
    const std::int64_t dataOffset = le32(header, 10);
    const std::uint32_t infoSize = le32(header, 14);
    std::int64_t width = 0, height = 0;
    int bitCount = 0;
    std::uint32_t compression = 0;
    if (infoSize == 12) {
        width = le16(header, 18);
        height = le16(header, 20);
        bitCount = le16(header, 24);
    } else if (headerSize >= 14 + 40) {
        width = std::int32_t(le32(header, 18));
        height = std::int32_t(le32(header, 22));
        bitCount = le16(header, 28);
        compression = le32(header, 30);
    } else {
        return headerSize; // the full check names what is wrong
    }
    width = std::clamp<std::int64_t>(width, 0, maxPixels);
    height = std::clamp<std::int64_t>(height < 0 ? -height : height, 0, maxPixels);
    if (width * height > maxPixels || dataOffset > maxDataOffset)
        return headerSize;
    // Run-length encoding at its worst: two bytes a pixel plus a line end.
    const std::int64_t pixelBytes = compression == 1 || compression == 2
                                        ? (2 * width + 2) * height + 2
                                        : (width * std::clamp(bitCount, 1, 32) + 31) / 32 * 4 * height;
    return dataOffset + pixelBytes + trailingSlack;
}

std::optional<Picture> PictureReader::decode(std::string_view bytes, std::string* error) {
    const std::string problem = checkBmpHeader(bytes);
    if (!problem.empty()) {
        if (error)
            *error = problem;
        return std::nullopt;
    }
    return decodeBmp(bytes, error);
}

std::optional<Picture> PictureReader::read(const std::string& path, std::string* error) {
    InputFile file;
    if (!file.open(path, error))
        return std::nullopt;
    // The header says how large the file may be before the whole is read.
    const std::optional<std::string> header = file.read(std::min<std::int64_t>(file.size(), 14 + 40), error);
    if (!header)
        return std::nullopt;
    const std::int64_t largest = largestFileFor(*header);
    if (file.size() > largest) {
        if (error)
            *error = largest > std::int64_t(header->size())
                         ? "the file has " + std::to_string(file.size()) +
                               " bytes, more than its BMP header accounts for (" + std::to_string(largest) +
                               ")"
                         : checkBmpHeader(*header);
        if (error && error->empty())
            *error = "the BMP header does not describe a picture this compiler reads";
        return std::nullopt;
    }
    const auto bytes = std::make_unique_for_overwrite<char[]>(std::size_t(file.size()));
    if (!file.readInto(bytes.get(), file.size(), error))
        return std::nullopt;
    return decode(std::string_view(bytes.get(), std::size_t(file.size())), error);
}

} // namespace vv::pdb
