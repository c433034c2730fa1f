// Any bytes as a database to open or unpack: reading is all or nothing, so
// either a problem text and no pictures, or pictures of the sizes the tables
// give, and a skin sheet can always be composed from what was read.
#include "unpack/DatabaseUnpack.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString problem;
    const std::optional<vv::UnpackedDatabase> database = vv::unpackDatabase(bytes, qRgb(0, 255, 0), &problem);
    if (!database) {
        if (problem.isEmpty())
            std::abort();
        return 0;
    }
    for (const QImage& icon : database->lowIcons)
        if (!icon.isNull() && icon.size() != QSize(32, 22))
            std::abort();
    for (const QImage& icon : database->highIcons)
        if (!icon.isNull() && icon.size() != QSize(64, 44))
            std::abort();
    for (const vv::PieceResolution resolution : {vv::PieceResolution::Low, vv::PieceResolution::High})
        (void)vv::unpackedSkinSheet(*database, resolution, qRgb(0, 255, 0));
    return 0;
}
