#include "theme/ThemeBuildPlan.h"

#include "buildrun/BuildKindTraits.h"
#include "common/SystemScreens.h"
#include "icons/IconPieces.h"
#include "icons/IconSlots.h"
#include "theme/ThemeFamilies.h"

namespace vv {
namespace {

QString pieceFilePath(const ThemePiece& piece, PieceResolution resolution) {
    return workFolderOf(BuildKind::Theme) + QLatin1Char('/') + piece.fileBaseName(resolution) +
           QStringLiteral(".bmp");
}

} // namespace

QList<ResourceFamily> themeFamilies() {
    QList<ResourceFamily> families;
    for (const ThemeBitmapFamily& family : themeBitmapFamilies()) {
        const ThemePiece& piece = family.piece();
        families.append({FamilyKind::Bitmap, family.id, workFolderOf(BuildKind::Theme),
                         piece.fileBaseName(PieceResolution::Low),
                         piece.fileBaseName(PieceResolution::High)});
    }
    families.append(themeIconFamilies());
    return families;
}

QList<PieceFile> themeBitmapPieceFiles(const ThemePieces& pieces, PieceResolution resolution) {
    QList<PieceFile> files;
    const auto& table = themePieceTable();
    for (int i = 0; i < kThemePieceCount; ++i) {
        files.append({pieceFilePath(table[i], resolution), pieces.piece(i, resolution).copy()});
    }
    return files;
}

QList<PieceFile> themePieceFiles(const ThemePieces& pieces, const IconBoard& icons, int screenType) {
    QList<PieceFile> files = themeLowIconPieces(icons);
    if (const ScreenProfile* screen = screenProfileOf(screenType); screen && screen->savesHighIcons)
        files.append(themeHighIconPieces(icons));
    files.append(themeBitmapPieceFiles(pieces, PieceResolution::Low));
    files.append(themeBitmapPieceFiles(pieces, PieceResolution::High));
    return files;
}

QList<DensityPair> piecePairsWithLowArtOnly(const ThemePieces& pieces) {
    QList<DensityPair> pairs;
    const auto& table = themePieceTable();
    for (int i = 0; i < kThemePieceCount; ++i) {
        if (isLowArtOnly(pieces.origin(i, PieceResolution::Low), pieces.origin(i, PieceResolution::High)))
            pairs.append({pieceFilePath(table[i], PieceResolution::Low),
                          pieceFilePath(table[i], PieceResolution::High)});
    }
    return pairs;
}

QList<DensityPair> themePairsWithLowArtOnly(const ThemePieces& pieces, const IconBoard& icons,
                                            const BuildOptions& options) {
    if (!buildNamesDensityTwo(options))
        return {};
    return piecePairsWithLowArtOnly(pieces) + iconPairsWithLowArtOnly(icons, BuildKind::Theme);
}

} // namespace vv
