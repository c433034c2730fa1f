// What a build hands the resource script writer: one family per bitmap or icon,
// naming its low- and high-density piece files in a work folder.
#pragma once

#include <QString>

namespace vv {

enum class FamilyKind { Bitmap, Icon };

struct ResourceFamily {
    FamilyKind kind = FamilyKind::Bitmap;
    int id = 0;        // decimal family ID before any screen prefix
    QString folder;    // work folder: "ThmeRsrc" or "IconRsrc"
    QString lowPiece;  // base name without ".bmp", e.g. "Tbmp03EE" or "Icon03E1"
    QString highPiece; // e.g. "Tbmp04EE" or "Icon04H1"
};

} // namespace vv
