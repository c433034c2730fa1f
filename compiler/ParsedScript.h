// What the compiler understood of a resource script: its statements in script
// order, each remembering the line it came from for messages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vv::pdb {

// One BITMAP line of a family.
struct BitmapLine {
    int line = 0;
    std::string file;         // UTF-8, as written, separators already turned into '/'
    int depth = 0;            // 1, 2, 4, 8 or 16
    bool highDensity = false; // DENSITY 2 or 144
    bool compress = false;
    std::optional<int> transparentIndex;            // TRANSPARENTINDEX, 0..255
    std::optional<std::uint32_t> transparentColour; // TRANSPARENT r g b, as 0xFFRRGGBB
};

struct FamilyBlock {
    enum class Kind { Bitmap, Icon }; // BITMAPFAMILYEX gives Tbmp, ICONFAMILYEX gives tAIB
    Kind kind = Kind::Bitmap;
    int line = 0;
    int id = 0;
    std::vector<BitmapLine> members; // in script order
};

struct DataStatement {
    int line = 0;
    std::string type; // exactly four bytes
    int id = 0;
    std::string file; // UTF-8
};

struct VersionStatement {
    int line = 0;
    int id = 0;
    std::string text; // the script's bytes, without quotes
};

struct ScriptStatement {
    enum class Kind { Family, Data, Version };
    Kind kind = Kind::Family;
    FamilyBlock family;
    DataStatement data;
    VersionStatement version;
};

struct ParsedScript {
    std::vector<ScriptStatement> statements;
};

} // namespace vv::pdb
