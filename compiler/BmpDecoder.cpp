#include "compiler/BmpDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace vv::pdb {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

using ColourTable = std::array<std::uint32_t, 256>;

// One colour component of a bit-field mask, widened to 8 bits the way Qt's
// reader (Qt 6.4, which read the pictures before) does it: multiplied by
// 256 / (largest value + 1), so 5 bits v become v << 3 with the low bits zero
// (not v << 3 | v >> 2), 6 bits v << 2, and a mask of more than 8 bits gives 0.
// Measured against Qt by the compiler tests; keep it so that no picture's
// colours change.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t scale = 0;
    explicit Channel(std::uint32_t m) : mask(m) {
        shift = mask ? std::countr_zero(mask) : 0;
        const std::uint32_t top = mask >> shift;
        scale = top == 0xFFFFFFFFu ? 0 : 256 / (top + 1);
    }
    std::uint32_t operator()(std::uint32_t pixel) const { return ((pixel & mask) >> shift) * scale; }
};

// The stored pixels after the header, and where each stored row goes: stored
// rows run bottom-up unless the height is negative.
struct Pixels {
    const unsigned char* data;
    std::int64_t available;
    const formats::BmpHeader& header;
    Picture& picture;
    std::uint32_t* outRow(std::int64_t stored) const {
        return picture.row(int(header.topDown ? stored : header.height - 1 - stored));
    }
};

// Indices beyond the table show black.
ColourTable colourTable(std::string_view bytes, const formats::BmpHeader& h) {
    ColourTable table{};
    table.fill(kOpaque);
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    std::int64_t at = h.tableOffset();
    for (std::uint32_t i = 0; i < h.colourCount(); ++i, at += h.colourEntrySize())
        table[i] = kOpaque | std::uint32_t(in[at + 2]) << 16 | std::uint32_t(in[at + 1]) << 8 | in[at];
    return table;
}

// The run-length stream as indices, one per pixel, then through the table.
// Unwritten pixels keep index 0, as they do in Qt's reader.
void decodeRuns(const Pixels& in, const ColourTable& table) {
    const std::int64_t width = in.header.width, height = in.header.height;
    const unsigned char* data = in.data;
    const std::int64_t available = in.available;
    std::vector<unsigned char> indices(size_t(width * height), 0);
    const bool four = in.header.compression == std::uint32_t(formats::BmpCompression::Rle4);
    std::int64_t x = 0, y = 0, i = 0;
    auto put = [&](int value) {
        if (x < width)
            indices[size_t(y * width + x)] = static_cast<unsigned char>(value);
        ++x;
    };
    while (y < height && i < available) {
        int count = data[i++];
        if (count) {
            if (i >= available)
                break;
            const int value = data[i++];
            count = int(std::min<std::int64_t>(count, width - x));
            for (int k = 0; k < count; ++k)
                put(four ? (k % 2 ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (i >= available)
            break;
        const int code = data[i++];
        if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            break;
        } else if (code == 2) {
            const int dx = i < available ? data[i] : 0;
            const int dy = i + 1 < available ? data[i + 1] : 0;
            i += 2;
            x = std::min(width - 1, x + dx);
            y = std::min(height - 1, y + dy);
        } else {
            const int count2 = int(std::min<std::int64_t>(code, width - x));
            const std::int64_t bytesIn = four ? (code + 1) / 2 : code;
            for (int k = 0; k < count2 && (four ? i + k / 2 : i + k) < available; ++k)
                put(four ? (k % 2 ? data[i + k / 2] & 0x0F : data[i + k / 2] >> 4) : data[i + k]);
            i += (bytesIn + 1) / 2 * 2;
        }
    }
    for (std::int64_t row = 0; row < height; ++row) {
        std::uint32_t* out = in.outRow(row);
        const unsigned char* src = indices.data() + row * width;
        for (std::int64_t px = 0; px < width; ++px)
            out[px] = table[src[px]];
    }
}

// One stored row of uncompressed pixels.
void decodeRow(const unsigned char* src, std::uint32_t* out, std::int64_t width, int bitCount,
               const ColourTable& table, const std::array<Channel, 3>& channels, bool plain32) {
    // Copies: the rows written through `out` cannot alias them, so they stay
    // in registers across a row.
    const Channel red = channels[0], green = channels[1], blue = channels[2];
    switch (bitCount) {
    case 1:
        for (std::int64_t px = 0; px < width; ++px)
            out[px] = table[(src[px >> 3] >> (7 - (px & 7))) & 1];
        break;
    case 4:
        for (std::int64_t px = 0; px < width; ++px)
            out[px] = table[px & 1 ? src[px >> 1] & 0x0F : src[px >> 1] >> 4];
        break;
    case 8:
        for (std::int64_t px = 0; px < width; ++px)
            out[px] = table[src[px]];
        break;
    case 24:
        for (std::int64_t px = 0; px < width; ++px, src += 3)
            out[px] = kOpaque | std::uint32_t(src[2]) << 16 | std::uint32_t(src[1]) << 8 | src[0];
        break;
    case 16:
        for (std::int64_t px = 0; px < width; ++px, src += 2) {
            const std::uint32_t v = std::uint32_t(src[0] | src[1] << 8);
            out[px] = kOpaque | red(v) << 16 | green(v) << 8 | blue(v);
        }
        break;
    default: // 32
        for (std::int64_t px = 0; px < width; ++px, src += 4) {
            const std::uint32_t v = std::uint32_t(src[0]) | std::uint32_t(src[1]) << 8 |
                                    std::uint32_t(src[2]) << 16 | std::uint32_t(src[3]) << 24;
            out[px] =
                plain32 ? (kOpaque | (v & 0xFFFFFF)) : (kOpaque | red(v) << 16 | green(v) << 8 | blue(v));
        }
    }
}

bool decodeRows(const Pixels& in, const ColourTable& table, const std::array<std::uint32_t, 4>& masks) {
    const formats::BmpHeader& h = in.header;
    const std::int64_t stride = h.stride();
    if (stride * h.height > in.available)
        return false;
    const std::array<Channel, 3> channels{Channel(masks[0]), Channel(masks[1]), Channel(masks[2])};
    const bool plain32 =
        h.bitCount == 32 && masks[0] == 0x00FF0000u && masks[1] == 0x0000FF00u && masks[2] == 0x000000FFu;
    for (std::int64_t row = 0; row < h.height; ++row)
        decodeRow(in.data + row * stride, in.outRow(row), h.width, h.bitCount, table, channels, plain32);
    return true;
}

} // namespace

std::optional<Picture> decodeBmp(std::string_view bytes, const formats::BmpHeader& header,
                                 std::string* error) {
    const ColourTable table = colourTable(bytes, header);
    const std::int64_t at = header.pixelOffset();
    Picture picture{int(header.width), int(header.height)};
    const Pixels pixels{reinterpret_cast<const unsigned char*>(bytes.data()) + at,
                        std::int64_t(bytes.size()) - at, header, picture};
    if (header.isRunLength()) {
        decodeRuns(pixels, table);
        return picture;
    }
    if (!decodeRows(pixels, table, formats::bmpBitMasks(bytes, header))) {
        if (error)
            *error = "truncated BMP pixel data";
        return std::nullopt;
    }
    return picture;
}

} // namespace vv::pdb
