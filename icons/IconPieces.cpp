#include "icons/IconPieces.h"

#include <algorithm>

namespace vv {
namespace {

QList<int> slotsOf(BuildKind use) {
    QList<int> indexes;
    for (int i = 0; i < kIconSlotCount; ++i)
        if (iconSlots()[i].use == use)
            indexes.append(i);
    return indexes;
}

int controlNumber(const char* name) {
    return QString::fromLatin1(name).mid(5).toInt();
} // "Image51" -> 51

} // namespace

QList<PieceFile> iconSetPieces(const IconBoard& board) {
    QList<PieceFile> pieces;
    const QList<int> indexes = slotsOf(BuildKind::IconSet);
    for (int i : indexes)
        pieces.append({lowPiecePath(iconSlots()[i]), board.slotPicture(IconWindow::Main, i)});
    for (int i : indexes)
        pieces.append({highPiecePath(iconSlots()[i]), board.slotPicture(IconWindow::Os5, i)});
    return pieces;
}

QList<PieceFile> themeLowIconPieces(const IconBoard& board) {
    QList<PieceFile> pieces;
    for (int i : slotsOf(BuildKind::Theme))
        pieces.append({lowPiecePath(iconSlots()[i]), board.slotPicture(IconWindow::Main, i)});
    return pieces;
}

QList<PieceFile> themeHighIconPieces(const IconBoard& board) {
    QList<int> indexes = slotsOf(BuildKind::Theme);
    std::stable_sort(indexes.begin(), indexes.end(), [](int a, int b) {
        return controlNumber(iconSlots()[a].os5Name) < controlNumber(iconSlots()[b].os5Name);
    });
    QList<PieceFile> pieces;
    for (int i : indexes)
        pieces.append({highPiecePath(iconSlots()[i]), board.slotPicture(IconWindow::Os5, i)});
    return pieces;
}

QList<DensityPair> iconPairsWithLowArtOnly(const IconBoard& board, BuildKind use) {
    QList<DensityPair> pairs;
    for (int i : slotsOf(use)) {
        const IconSlot& slot = iconSlots()[i];
        if (isLowArtOnly(board.slotOrigin(IconWindow::Main, i), board.slotOrigin(IconWindow::Os5, i)))
            pairs.append({lowPiecePath(slot), highPiecePath(slot)});
    }
    return pairs;
}

QList<DensityPair> iconSetPairsWithLowArtOnly(const IconBoard& board, const BuildOptions& options) {
    if (!buildNamesDensityTwo(options))
        return {};
    return iconPairsWithLowArtOnly(board, BuildKind::IconSet);
}

} // namespace vv
