#include "compiler/BmpDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>

namespace vv::pdb {
namespace {

constexpr std::uint32_t opaque = 0xFF000000u;

struct Reader {
    const unsigned char* data;
    std::int64_t size;
    std::uint32_t le32(std::int64_t at) const {
        if (at < 0 || at + 4 > size)
            return 0;
        return std::uint32_t(data[at]) | std::uint32_t(data[at + 1]) << 8 |
               std::uint32_t(data[at + 2]) << 16 | std::uint32_t(data[at + 3]) << 24;
    }
    std::uint16_t le16(std::int64_t at) const {
        if (at < 0 || at + 2 > size)
            return 0;
        return std::uint16_t(data[at] | data[at + 1] << 8);
    }
};

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

} // namespace

std::optional<Picture> decodeBmp(std::string_view bytes, std::string* error) {
    auto fail = [&](std::string text) -> std::optional<Picture> {
        if (error)
            *error = std::move(text);
        return std::nullopt;
    };
    const Reader in{reinterpret_cast<const unsigned char*>(bytes.data()), std::int64_t(bytes.size())};
    const std::uint32_t dataOffset = in.le32(10);
    const std::uint32_t infoSize = in.le32(14);
    std::int64_t width = 0, height = 0;
    int bitCount = 0;
    std::uint32_t compression = 0, coloursUsed = 0;
    if (infoSize == 12) {
        width = std::int16_t(in.le16(18));
        height = std::int16_t(in.le16(20));
        bitCount = in.le16(24);
    } else if (infoSize == 40 || infoSize == 64 || infoSize == 108 || infoSize == 124) {
        width = std::int32_t(in.le32(18));
        height = std::int32_t(in.le32(22));
        bitCount = in.le16(28);
        compression = in.le32(30);
        coloursUsed = in.le32(46);
    } else {
        return fail("unknown BMP header size " + std::to_string(infoSize));
    }
    const bool topDown = height < 0;
    height = topDown ? -height : height;
    if (width <= 0 || height <= 0)
        return fail("BMP picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
    const bool rle = compression == 1 || compression == 2;
    if (!(compression == 0 || (bitCount == 8 && compression == 1) || (bitCount == 4 && compression == 2) ||
          ((bitCount == 16 || bitCount == 32) && (compression == 3 || compression == 6))))
        return fail("BMP with " + std::to_string(bitCount) + " bits per pixel and compression " +
                    std::to_string(compression));

    // Where the colour table or the bit masks end, the pixel data begins at the
    // latest; a data offset pointing back into them is not followed.
    std::int64_t at = 14 + std::int64_t(infoSize);
    std::array<std::uint32_t, 256> table{};
    table.fill(opaque); // indices beyond the table show black
    std::uint32_t masks[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0};
    if (bitCount <= 8) {
        const std::uint32_t colours = coloursUsed ? coloursUsed : 1u << bitCount;
        if (colours > 256)
            return fail("BMP colour table of " + std::to_string(colours) + " entries");
        const int entry = infoSize == 12 ? 3 : 4;
        if (at + std::int64_t(colours) * entry >= in.size)
            return fail("truncated BMP colour table");
        for (std::uint32_t i = 0; i < colours; ++i, at += entry)
            table[i] = opaque | std::uint32_t(in.data[at + 2]) << 16 | std::uint32_t(in.data[at + 1]) << 8 |
                       in.data[at];
    } else if (compression == 3 || compression == 6) {
        const std::int64_t maskAt = 14 + 40;
        for (int i = 0; i < (compression == 6 || infoSize >= 108 ? 4 : 3); ++i)
            masks[i] = in.le32(maskAt + 4 * i);
        if (infoSize == 40)
            at = maskAt + (compression == 6 ? 16 : 12);
        for (const std::uint32_t mask : masks)
            if (mask == 0xFFFFFFFFu) { // no room left for a scale: Qt refused these
                char text[16];
                std::snprintf(text, sizeof text, "%08x", unsigned(mask));
                return fail(std::string("BMP bit mask ") + text);
            }
    } else if (bitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    at = std::max<std::int64_t>(at, dataOffset);

    Picture picture{int(width), int(height)};
    auto outRow = [&](std::int64_t stored) { // stored rows run bottom-up unless the height is negative
        return picture.row(int(topDown ? stored : height - 1 - stored));
    };
    const unsigned char* data = in.data + at;
    const std::int64_t available = in.size - at;

    if (rle) {
        // Unwritten pixels keep index 0, as they do in Qt's reader.
        std::vector<unsigned char> indices(size_t(width * height), 0);
        const bool four = compression == 2;
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
            std::uint32_t* out = outRow(row);
            const unsigned char* src = indices.data() + row * width;
            for (std::int64_t px = 0; px < width; ++px)
                out[px] = table[src[px]];
        }
        return picture;
    }

    const std::int64_t stride = (width * bitCount + 31) / 32 * 4;
    if (stride * height > available)
        return fail("truncated BMP pixel data");
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    const bool plain32 =
        bitCount == 32 && masks[0] == 0x00FF0000u && masks[1] == 0x0000FF00u && masks[2] == 0x000000FFu;
    for (std::int64_t row = 0; row < height; ++row) {
        const unsigned char* src = data + row * stride;
        std::uint32_t* out = outRow(row);
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
                out[px] = opaque | std::uint32_t(src[2]) << 16 | std::uint32_t(src[1]) << 8 | src[0];
            break;
        case 16:
            for (std::int64_t px = 0; px < width; ++px, src += 2) {
                const std::uint32_t v = std::uint32_t(src[0] | src[1] << 8);
                out[px] = opaque | red(v) << 16 | green(v) << 8 | blue(v);
            }
            break;
        default: // 32
            for (std::int64_t px = 0; px < width; ++px, src += 4) {
                const std::uint32_t v = std::uint32_t(src[0]) | std::uint32_t(src[1]) << 8 |
                                        std::uint32_t(src[2]) << 16 | std::uint32_t(src[3]) << 24;
                out[px] =
                    plain32 ? (opaque | (v & 0xFFFFFF)) : (opaque | red(v) << 16 | green(v) << 8 | blue(v));
            }
        }
    }
    return picture;
}

} // namespace vv::pdb
