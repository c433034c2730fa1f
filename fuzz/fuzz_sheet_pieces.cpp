// Any bytes as a picture file loaded the ways a user loads one: a skin sheet
// at both resolutions cut into the theme pieces, and an icon sheet in both
// icon windows with a cell picked into a slot; then the piece files of a
// theme and an icon set build are planned from what was loaded. A load either
// fails, changing nothing, or yields pieces of the table's sizes.
#include "icons/IconBoard.h"
#include "icons/IconPieces.h"
#include "theme/ThemeBuildPlan.h"
#include "theme/ThemePieces.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdlib>

namespace {
QTemporaryDir* workDir = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    workDir = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = workDir->filePath(QStringLiteral("sheet.bmp"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), qsizetype(size));
    }
    static vv::ThemePieces pieces;
    static vv::IconBoard board;
    const uint8_t pick = size ? data[size - 1] : 0;
    for (const vv::PieceResolution resolution : {vv::PieceResolution::Low, vv::PieceResolution::High}) {
        const vv::SheetLoadResult loaded = pieces.loadSheetFile(path, resolution);
        if (loaded.loaded() && loaded.picture.isNull())
            std::abort();
    }
    for (int index = 0; index < vv::kThemePieceCount; ++index) {
        for (const vv::PieceResolution resolution : {vv::PieceResolution::Low, vv::PieceResolution::High}) {
            const QImage& piece = pieces.piece(index, resolution);
            if (piece.size() != vv::makeBlankPiece(vv::themePieceTable()[index], resolution).size())
                std::abort();
        }
    }
    for (const vv::IconWindow window : {vv::IconWindow::Main, vv::IconWindow::Os5}) {
        if (!board.loadSheet(window, path, vv::kOutsideSheetColour).loaded())
            continue;
        board.selectCell(window, 1 + pick % 64);
        board.clickSlot(window, pick % 32);
    }
    (void)vv::themePieceFiles(pieces, board, 1 + pick % 3);
    (void)vv::iconSetPieces(board);
    return 0;
}
