// Windows BMP pixels as Qt's reader gives them, without the graphics library:
// 1, 4 and 8 bits through the colour table, 16 bits as 5-5-5 or by bit
// fields, 24 and 32 bits, RLE4 and RLE8, bottom-up and top-down. Validation
// (sizes, truncation) is PictureReader's; this only decodes.
#pragma once

#include "compiler/Picture.h"

#include <optional>
#include <string>
#include <string_view>

namespace vv::pdb {

// The picture in `bytes`, whose header PictureReader::checkBmpHeader accepted;
// nothing with the reason when the header describes no picture this reads.
std::optional<Picture> decodeBmp(std::string_view bytes, std::string* error);

} // namespace vv::pdb
