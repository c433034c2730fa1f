#include "theme/ThemeBuildPlan.h"

#include "app/SystemScreens.h"
#include "icons/IconPieces.h"
#include "icons/IconSlots.h"
#include "theme/ThemeFamilies.h"

namespace vv {
QString themeWorkFolder() {
    return QStringLiteral("ThmeRsrc");
}

QList<ResourceFamily> themeFamilies() {
    QList<ResourceFamily> families;
    for (const ThemeBitmapFamily& family : themeBitmapFamilies()) {
        const ThemePiece& piece = family.piece();
        families.append({FamilyKind::Bitmap, family.id, themeWorkFolder(),
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
        const QString path =
            themeWorkFolder() + QLatin1Char('/') + table[i].fileBaseName(resolution) + QStringLiteral(".bmp");
        files.append({path, pieces.piece(i, resolution).copy()});
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

} // namespace vv
