// One picture a build saves before the compiler runs, under its name relative
// to the start directory ("ThmeRsrc/Tbmp03E0.bmp").
#pragma once

#include <QImage>
#include <QString>

namespace vv {

struct PieceFile {
    QString relativePath; // always with "/" separators
    QImage picture;       // saved at its own size and pixel format
};

} // namespace vv
