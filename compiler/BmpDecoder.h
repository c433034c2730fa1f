// Windows BMP pixels as Qt's reader gives them, without the graphics library:
// 1, 4 and 8 bits through the colour table, 16 bits as 5-5-5 or by bit
// fields, 24 and 32 bits, RLE4 and RLE8, bottom-up and top-down. Validation
// (sizes, truncation) is formats::checkBmpFile's; this only decodes.
#pragma once

#include "compiler/Picture.h"
#include "formats/BmpHeader.h"

#include <optional>
#include <string>
#include <string_view>

namespace vv::pdb {

// The picture in `bytes`, whose header formats::checkBmpFile read as `header`
// and accepted; nothing with the reason when the pixels end early.
std::optional<Picture> decodeBmp(std::string_view bytes, const formats::BmpHeader& header,
                                 std::string* error);

} // namespace vv::pdb
