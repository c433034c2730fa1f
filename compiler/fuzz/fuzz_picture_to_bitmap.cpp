// Any bytes as a picture file: the reader refuses or returns a picture; a
// picture becomes a family at every depth and density, compressed, and that
// family must decode back to exactly the converted rows.
#include "compiler/BitmapDecoder.h"
#include "compiler/BitmapFamilyEncoder.h"
#include "compiler/PictureReader.h"

#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto picture = vv::pdb::PictureReader::decode(bytes, nullptr);
    if (!picture)
        return 0;
    if (qint64(picture->width()) * picture->height() > 512 * 512)
        return 0; // larger pictures only slow the search down
    const bool compress = size % 2;
    std::vector<vv::pdb::FamilyMember> members;
    for (const bool high : {false, true})
        for (const int depth : {1, 2, 4, 8, 16}) {
            vv::pdb::FamilyMember m;
            m.picture = *picture;
            m.depth = depth;
            m.highDensity = high;
            m.compress = compress;
            if (size > 2) {
                m.transparentIndex = data[size - 1];
                m.transparentColour = vv::formats::opaqueColour(data[0], data[1], data[2]);
            }
            members.push_back(m);
        }
    const vv::pdb::BitmapFamilyEncoder encoder;
    std::string problem;
    const auto family = encoder.encode(members, &problem);
    if (!family)
        return 0; // a version 2 size overflow is a refusal, not a fault
    QString error;
    const auto decoded = vv::pdb::BitmapDecoder::decodeFamily(*family, &error);
    if (!decoded || size_t(decoded->members.size()) != members.size())
        std::abort();
    const vv::pdb::PixelConverter converter;
    for (const auto& member : decoded->members) {
        const std::optional<int> index =
            member.depth == 8 && size > 2 ? std::optional<int>(data[size - 1]) : std::nullopt;
        if (member.rows != vv::pdb::qtBytes(converter.convert(*picture, member.depth, index)))
            std::abort();
    }
    return 0;
}
