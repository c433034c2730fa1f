#include "compiler/BitmapFamilyEncoder.h"

#include "formats/Endian.h"

#include <algorithm>
#include <string_view>

namespace vv::pdb {
namespace {

constexpr std::uint16_t kFlagCompressed = 0x8000;
constexpr std::uint16_t kFlagTransparency = 0x2000;
constexpr std::uint16_t kFlagDirectColor = 0x0400;

// Layout of the 16-byte separator that ends the chain for handhelds without
// high-density support and tells newer ones that density-2 members follow.
constexpr std::string_view kSeparator("\0\0\0\0\0\0\0\0\xff\x01\0\0\0\0\0\0", 16);

void padTo(std::string& bytes, std::size_t multiple) {
    bytes.append((multiple - bytes.size() % multiple) % multiple, '\0');
}

// The 8 bytes after a version 2 header at 16 bits: 5-6-5 and the
// transparency colour. Empty for every other bitmap.
std::string directColourInfo(const FamilyMember& m, int version) {
    if (version != 2 || m.depth != 16)
        return {};
    std::string info("\x05\x06\x05\0\0\0\0\0", 8);
    if (m.transparentColour) {
        info[5] = char(formats::colourRed(*m.transparentColour));
        info[6] = char(formats::colourGreen(*m.transparentColour));
        info[7] = char(formats::colourBlue(*m.transparentColour));
    }
    return info;
}

// The data that follows the header (and the direct-colour info) when it is
// compressed: its size prefix and the compressed rows.
struct Packed {
    std::string bytes;
    bool compressed = false;
    int compressionType = 0; // Compression, for a version 3 header
};

// Density-1 members keep scanline: older handhelds read nothing else. Nothing
// with the reason when the 16-bit size field cannot hold the result.
std::optional<Packed> packScanline(const std::string& rows, int rowBytes, int height, std::size_t directInfo,
                                   std::string* error) {
    Packed packed;
    const std::ptrdiff_t plainLength = std::ptrdiff_t(rows.size() + directInfo);
    // The reference compiler's 16-bit size also counts the direct-colour info.
    const std::ptrdiff_t sizeField = 2 +
                                     std::ptrdiff_t(BitmapCompression::compressedSize(
                                         Compression::Scanline, rows, rowBytes, height, false, plainLength)) +
                                     std::ptrdiff_t(directInfo);
    if (sizeField >= plainLength)
        return packed;
    if (sizeField > 0xFFFF) {
        if (error)
            *error = "compressed too big for a version 2 bitmap (" + std::to_string(sizeField) +
                     " bytes, at most 65535)";
        return std::nullopt;
    }
    formats::be::append16(packed.bytes, std::uint32_t(sizeField));
    packed.bytes.append(BitmapCompression::compress(Compression::Scanline, rows, rowBytes, height));
    packed.compressed = true;
    return packed;
}

// Version 3 bitmaps only exist on handhelds that read all three methods.
// Sizes first; only the smallest (the first of equals) is built, and only when
// strictly smaller than the plain rows.
Packed packSmallest(const std::string& rows, int rowBytes, int height, bool direct) {
    Packed packed;
    std::ptrdiff_t best = std::ptrdiff_t(rows.size());
    for (const Compression method : {Compression::Scanline, Compression::Rle, Compression::PackBits}) {
        // A count that reaches best - 4 has lost already: stop it there.
        const std::ptrdiff_t size = 4 + std::ptrdiff_t(BitmapCompression::compressedSize(
                                            method, rows, rowBytes, height, direct, best - 4));
        if (size < best) {
            best = size;
            packed.compressed = true;
            packed.compressionType = int(method);
        }
    }
    if (packed.compressed) {
        packed.bytes.reserve(size_t(best));
        formats::be::append32(packed.bytes, std::uint32_t(best));
        packed.bytes.append(
            BitmapCompression::compress(Compression(packed.compressionType), rows, rowBytes, height, direct));
    }
    return packed;
}

// The header fields after depth and version.
void appendHeaderTail(std::string& out, const FamilyMember& m, int version, int compressionType,
                      const std::string& directInfo) {
    if (version < 3) {
        formats::be::append16(out, 0); // next depth offset, set by the family
        out.push_back(
            char(version == 2 && m.depth == 8 && m.transparentIndex ? *m.transparentIndex & 0xFF : 0));
        out.push_back(char(0)); // compression type: scanline
        formats::be::append16(out, 0);
        out.append(directInfo);
        return;
    }
    out.push_back(char(0x18));
    out.push_back(char(m.depth == 16 ? 1 : 0));
    out.push_back(char(0));
    out.push_back(char(compressionType));
    formats::be::append16(out, BitmapFamilyEncoder::kHighDensityValue);
    std::uint32_t transparentValue = 0;
    if (m.depth == 8 && m.transparentIndex)
        transparentValue = std::uint32_t(*m.transparentIndex);
    else if (m.depth == 16 && m.transparentColour)
        transparentValue = PixelConverter::rgb565(*m.transparentColour);
    formats::be::append32(out, transparentValue);
    formats::be::append32(out, 0); // next bitmap offset, set by the family
}

} // namespace

std::optional<std::string> BitmapFamilyEncoder::encodeBitmap(const FamilyMember& m,
                                                             std::string* error) const {
    const int width = m.picture.width(), height = m.picture.height();
    if (width > 0x7FFF || height > 0x7FFF) {
        if (error)
            *error = "a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels is too large for a bitmap";
        return std::nullopt;
    }
    const int rowBytes = PixelConverter::rowBytes(width, m.depth);
    const int version = m.highDensity ? 3 : (m.depth <= 4 ? 1 : 2);
    const bool transparent =
        version >= 2 && ((m.depth == 8 && m.transparentIndex) || (m.depth == 16 && m.transparentColour));
    const std::string rows =
        converter_.convert(m.picture, m.depth, m.depth == 8 ? m.transparentIndex : std::nullopt);
    const std::string directInfo = directColourInfo(m, version);

    Packed packed;
    if (m.compress && version < 3) {
        std::optional<Packed> scanline = packScanline(rows, rowBytes, height, directInfo.size(), error);
        if (!scanline)
            return std::nullopt;
        packed = std::move(*scanline);
    } else if (m.compress) {
        packed = packSmallest(rows, rowBytes, height, m.depth == 16);
    }

    std::uint16_t flags = 0;
    if (packed.compressed)
        flags |= kFlagCompressed;
    if (transparent)
        flags |= kFlagTransparency;
    if (m.depth == 16)
        flags |= kFlagDirectColor;

    std::string out;
    const std::string_view data = packed.compressed ? std::string_view(packed.bytes) : std::string_view(rows);
    out.reserve(24 + directInfo.size() + data.size() + 4);
    formats::be::append16(out, std::uint32_t(width));
    formats::be::append16(out, std::uint32_t(height));
    formats::be::append16(out, std::uint32_t(rowBytes));
    formats::be::append16(out, flags);
    out.push_back(char(m.depth));
    out.push_back(char(version));
    appendHeaderTail(out, m, version, packed.compressionType, directInfo);
    out.append(data);
    return out;
}

std::optional<std::string> BitmapFamilyEncoder::encode(const std::vector<FamilyMember>& members,
                                                       std::string* error, int* failedMember) const {
    std::vector<int> order(members.size());
    for (std::size_t i = 0; i < members.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (members[a].highDensity != members[b].highDensity)
            return !members[a].highDensity;
        return members[a].depth < members[b].depth;
    });
    const bool anyHigh =
        std::any_of(members.begin(), members.end(), [](const FamilyMember& m) { return m.highDensity; });

    std::string family;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const FamilyMember& m = members[size_t(order[k])];
        std::optional<std::string> bitmap = encodeBitmap(m, error);
        if (!bitmap) {
            if (failedMember)
                *failedMember = order[k];
            return std::nullopt;
        }
        const bool last = k + 1 == order.size();
        if (!m.highDensity) {
            const bool followed = !last || anyHigh;
            padTo(*bitmap, followed ? 4 : 2);
            if (followed) {
                if (bitmap->size() / 4 > 0xFFFF) {
                    if (error)
                        *error = "a bitmap of " + std::to_string(bitmap->size()) +
                                 " bytes is too large for a family";
                    if (failedMember)
                        *failedMember = order[k];
                    return std::nullopt;
                }
                formats::be::set16(*bitmap, 10, std::uint32_t(bitmap->size() / 4));
            }
        } else {
            if (family.empty() || !members[size_t(order[k - 1])].highDensity)
                family.append(kSeparator);
            padTo(*bitmap, 4);
            if (!last)
                formats::be::set32(*bitmap, 20, std::uint32_t(bitmap->size()));
        }
        family.append(*bitmap);
    }
    return family;
}

} // namespace vv::pdb
