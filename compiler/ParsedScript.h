// What the compiler understood of a resource script: its statements in script
// order, each remembering the line it came from for messages.
#pragma once

#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QString>

#include <optional>

namespace vv::pdb {

// One BITMAP line of a family.
struct BitmapLine {
    int line = 0;
    QString file;             // as written, separators already turned into '/'
    int depth = 0;            // 1, 2, 4, 8 or 16
    bool highDensity = false; // DENSITY 2 or 144
    bool compress = false;
    std::optional<int> transparentIndex;   // TRANSPARENTINDEX, 0..255
    std::optional<QRgb> transparentColour; // TRANSPARENT r g b
};

struct FamilyBlock {
    enum class Kind { Bitmap, Icon }; // BITMAPFAMILYEX gives Tbmp, ICONFAMILYEX gives tAIB
    Kind kind = Kind::Bitmap;
    int line = 0;
    int id = 0;
    QList<BitmapLine> members; // in script order
};

struct DataStatement {
    int line = 0;
    QByteArray type; // exactly four bytes
    int id = 0;
    QString file;
};

struct VersionStatement {
    int line = 0;
    int id = 0;
    QByteArray text; // the script's bytes, without quotes
};

struct ScriptStatement {
    enum class Kind { Family, Data, Version };
    Kind kind = Kind::Family;
    FamilyBlock family;
    DataStatement data;
    VersionStatement version;
};

struct ParsedScript {
    QList<ScriptStatement> statements;
};

} // namespace vv::pdb
