// Draws the sample icon sheets: one icon per cell, placed exactly where a slot
// click copies from, so every pick lands a whole icon in the slot. The OS5
// sheet shows the main sheet's first 90 icons at double size.
#include "common/PictureCopy.h"
#include "icons/IconArt.h"
#include "icons/IconBoard.h"

#include <QColor>
#include <QDir>
#include <QPainter>
#include <QSaveFile>

#include <cstdio>

using namespace vv;

namespace {

constexpr QRgb kSheetColour = 0xFFD8DCE4u;
constexpr QRgb kFrameColour = 0xFFA8B0BCu;
constexpr int kSchemeCount = 13;

// Icon n (0-based) of the sample set: every glyph but the blank one, cycling
// through colour schemes spread around the colour wheel.
IconGlyph sampleGlyph(int n) {
    return IconGlyph(n % (kIconGlyphCount - 1));
}

IconColours sampleColours(int n) {
    const int hue = (n / (kIconGlyphCount - 1)) % kSchemeCount * 360 / kSchemeCount;
    return {QColor::fromHsv(hue, 40, 250).rgb(), QColor::fromHsv(hue, 230, 70).rgb(),
            QColor::fromHsv(hue, 190, 210).rgb()};
}

QImage drawSheet(IconWindow window) {
    const IconGrid& grid = iconGrid(window);
    const int scale = window == IconWindow::Main ? 1 : 2;
    QRect extent;
    for (int cell = 1; cell <= grid.cellCount; ++cell)
        extent |= grid.sourceRect(cell);
    // Room for every cell's whole source rectangle, and at least the control.
    const QSize size(qMax(extent.right() + 1, grid.sheetSize.width()),
                     qMax(extent.bottom() + 1, grid.sheetSize.height()));
    QImage sheet = makeRgbPicture(size, kSheetColour);
    QPainter frames(&sheet);
    frames.setPen(QColor::fromRgb(kFrameColour));
    for (int cell = 1; cell <= grid.cellCount; ++cell) {
        // The click target, in sheet coordinates, outlined like the window's bevels.
        const QRect target = grid.clickTarget(cell).translated(-grid.sheetPos);
        frames.drawRect(target.adjusted(0, 0, -1, -1));
    }
    // Whole pictures, transparency-colour box included, so a picked icon looks
    // just like a factory one.
    for (int cell = 1; cell <= grid.cellCount; ++cell)
        frames.drawImage(grid.sourceRect(cell).topLeft(),
                         iconPicture(sampleGlyph(cell - 1), sampleColours(cell - 1), scale));
    frames.end();
    return sheet;
}

bool saveBmp(const QImage& picture, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "BMP") || !file.commit()) {
        std::fprintf(stderr, "vv_iconart: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    return true;
}

QImage contactPrint() {
    QImage print = makeRgbPicture(QSize(8 + 70 * 8, 8 + 50 * 5), kSheetColour);
    QPainter p(&print);
    for (int i = 0; i < kIconSlotCount + 1; ++i) {
        const QImage low = i < kIconSlotCount ? factorySlotPicture(i, 1) : factorySnapshotPicture(1);
        const QImage high = i < kIconSlotCount ? factorySlotPicture(i, 2) : factorySnapshotPicture(2);
        const QPoint at(8 + 70 * (i % 8), 8 + 50 * (i / 8));
        p.drawImage(at, high);
        p.drawImage(at + QPoint(34, 46 - 22 - 2), low);
    }
    return print;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == "--factory")
        return saveBmp(contactPrint(), QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: vv_iconart <folder> | --factory <file>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists()) {
        std::fprintf(stderr, "vv_iconart: no folder %s\n", argv[1]);
        return 1;
    }
    const bool ok = saveBmp(drawSheet(IconWindow::Main), folder.filePath("SampleIcons.bmp")) &&
                    saveBmp(drawSheet(IconWindow::Os5), folder.filePath("SampleIconsOS5.bmp"));
    return ok ? 0 : 1;
}
