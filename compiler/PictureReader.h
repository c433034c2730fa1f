// Reads the Windows BMP pictures a script names. The header is checked against
// the file's length (formats/BmpHeader.h) before anything is decoded: a file
// cut short is refused, never filled up silently, and a file far longer than
// its header describes is not read at all.
#pragma once

#include "compiler/Picture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vv::pdb {

class PictureReader {
public:
    // The picture (alpha dropped), or nothing with the reason in `error`.
    // Refuses anything that is not a complete, uncompressed or RLE BMP, and any
    // path that is not a regular file.
    static std::optional<Picture> read(const std::string& path, std::string* error);
    static std::optional<Picture> decode(std::string_view bytes, std::string* error);
};

} // namespace vv::pdb
