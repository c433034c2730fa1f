// On a double-density screen a build names both pictures of each pair, but
// loading a low-resolution sheet or picking icons on the main window changes
// only the density-1 one. A pair whose density-1 picture is the user's while its
// density-2 partner is older art (isLowArtOnly) would put two pictures on the
// handheld; these are the pairs, and the one way of filling them in for a build.
#pragma once

#include "common/BuildOptions.h"
#include "common/PieceFile.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

namespace vv {

// A picture pair as the build saves it: the density-1 and density-2 piece
// files, relative to the start directory ("ThmeRsrc/Tbmp03E0.bmp",
// "ThmeRsrc/Tbmp04E0.bmp").
struct DensityPair {
    QString lowPath;
    QString highPath;
    friend bool operator==(const DensityPair&, const DensityPair&) = default;
};

// What the user chose for such pairs.
enum class LowArtChoice {
    Double, // each density-2 picture becomes the enlargement of its density-1 partner, for this build only
    AsItIs, // build the pictures as they are
    Cancel, // build nothing
};

// Whether a build with these options names density-2 pictures at all: a
// screen with density-2 lines and 8 or 16 bits on.
bool buildNamesDensityTwo(const BuildOptions& options);

// True when the two pictures have the same size and the same colours pixel
// for pixel, whatever their formats.
bool samePixels(const QImage& a, const QImage& b);

// `low` enlarged 2x by repeating every pixel, laid into a picture of
// `highSize` and `highFormat`; where the enlargement does not reach (a density-2
// picture larger than twice its partner) the picture holds `outside`.
QImage doubledPicture(const QImage& low, QSize highSize, QImage::Format highFormat, QRgb outside);

// Replaces, in `pieces`, the picture of each pair's highPath with the doubled
// picture of its lowPath. Pairs whose files are not both in `pieces` are
// left alone. Returns how many pictures were replaced.
int doubleLowPictures(QList<PieceFile>& pieces, const QList<DensityPair>& pairs, QRgb outside);

} // namespace vv
