// Builds the body of a Tbmp or tAIB resource: one bitmap per depth and density,
// linked by their next offsets, in the layout handhelds and the reference
// compiler of this script language agree on.
#pragma once

#include "compiler/BitmapCompression.h"
#include "compiler/PixelConverter.h"

#include <optional>
#include <string>
#include <vector>

namespace vv::pdb {

struct FamilyMember {
    Picture picture;
    int depth = 8; // 1, 2, 4, 8 or 16
    bool highDensity = false;
    bool compress = false;
    std::optional<int> transparentIndex;                     // used at 8 bpp
    std::optional<formats::PaletteColour> transparentColour; // used at 16 bpp
};

class BitmapFamilyEncoder {
public:
    // Family bytes, or nothing with the reason in `error` (a compressed density-1
    // bitmap whose 16-bit size field overflows). `failedMember` receives the index
    // into `members` of the one at fault. Members may come in any order; each
    // depth and density at most once.
    std::optional<std::string> encode(const std::vector<FamilyMember>& members, std::string* error,
                                      int* failedMember = nullptr) const;

    // One bitmap with its header, unpadded, next offset 0.
    std::optional<std::string> encodeBitmap(const FamilyMember& member, std::string* error) const;

    static constexpr int kHighDensityValue = 144;

private:
    PixelConverter converter_;
};

} // namespace vv::pdb
