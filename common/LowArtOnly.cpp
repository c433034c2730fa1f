#include "common/LowArtOnly.h"

#include "common/SystemScreens.h"

namespace vv {
namespace {

int indexOfPath(const QList<PieceFile>& pieces, const QString& path) {
    for (qsizetype i = 0; i < pieces.size(); ++i)
        if (pieces[i].relativePath == path)
            return int(i);
    return -1;
}

} // namespace

bool buildNamesDensityTwo(const BuildOptions& options) {
    const ScreenProfile* screen = screenProfileOf(options.screenType);
    return screen && screen->doubleDensityLines &&
           (options.depths.contains(8) || options.depths.contains(16));
}

bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return false;
    if (a.format() == b.format() && a.colorTable() == b.colorTable())
        return a == b;
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

QImage doubledPicture(const QImage& low, QSize highSize, QImage::Format highFormat, QRgb outside) {
    const QImage source = low.convertToFormat(QImage::Format_RGB32);
    QImage doubled(highSize, QImage::Format_RGB32);
    for (int y = 0; y < highSize.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(doubled.scanLine(y));
        const int sy = y / 2;
        for (int x = 0; x < highSize.width(); ++x) {
            const int sx = x / 2;
            line[x] = sy < source.height() && sx < source.width() ? source.pixel(sx, sy) : outside;
        }
    }
    return highFormat == QImage::Format_RGB32 ? doubled : doubled.convertToFormat(highFormat);
}

int doubleLowPictures(QList<PieceFile>& pieces, const QList<DensityPair>& pairs, QRgb outside) {
    int replaced = 0;
    for (const DensityPair& pair : pairs) {
        const int low = indexOfPath(pieces, pair.lowPath);
        const int high = indexOfPath(pieces, pair.highPath);
        if (low < 0 || high < 0)
            continue;
        const QImage& target = pieces[high].picture;
        pieces[high].picture = doubledPicture(pieces[low].picture, target.size(), target.format(), outside);
        ++replaced;
    }
    return replaced;
}

} // namespace vv
