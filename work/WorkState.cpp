#include "work/WorkState.h"

namespace vv {
namespace {

void addBytes(const QImage& picture, QSet<qint64>& seen, qint64& bytes) {
    if (picture.isNull() || seen.contains(picture.cacheKey()))
        return;
    seen.insert(picture.cacheKey());
    bytes += picture.sizeInBytes();
}

SlotPictures takeSlots(const IconBoard& board, IconWindow window, SlotOrigins& origins) {
    SlotPictures slotSet;
    for (int i = 0; i < kIconSlotCount; ++i) {
        slotSet[i] = board.slotPicture(window, i);
        origins[i] = board.slotOrigin(window, i);
    }
    return slotSet;
}

void putSlots(const SlotPictures& slotSet, const SlotOrigins& origins, IconBoard& board, IconWindow window) {
    for (int i = 0; i < kIconSlotCount; ++i)
        board.setSlotPicture(window, i, slotSet[i], origins[i]);
}

bool sameOrigins(const ThemePieces& a, const ThemePieces& b) {
    for (int i = 0; i < kThemePieceCount; ++i)
        for (PieceResolution resolution : {PieceResolution::Low, PieceResolution::High})
            if (a.origin(i, resolution) != b.origin(i, resolution))
                return false;
    return true;
}

} // namespace

WorkParts WorkState::parts() const {
    WorkParts held;
    held.setFlag(WorkPart::Pieces, pieces.has_value());
    held.setFlag(WorkPart::MainSlots, mainSlots.has_value());
    held.setFlag(WorkPart::Os5Slots, os5Slots.has_value());
    held.setFlag(WorkPart::LowSnap, lowSnap.has_value());
    held.setFlag(WorkPart::HighSnap, highSnap.has_value());
    held.setFlag(WorkPart::Name, name.has_value());
    return held;
}

bool WorkState::operator==(const WorkState& other) const {
    if (parts() != other.parts() || name != other.name || mainSlots != other.mainSlots ||
        os5Slots != other.os5Slots || lowSnap != other.lowSnap || highSnap != other.highSnap)
        return false;
    if (mainSlots && mainOrigins != other.mainOrigins)
        return false;
    if (os5Slots && os5Origins != other.os5Origins)
        return false;
    if (!pieces)
        return true;
    if (!sameOrigins(*pieces, *other.pieces))
        return false;
    for (int i = 0; i < kThemePieceCount; ++i)
        if (pieces->lowPiece(i) != other.pieces->lowPiece(i) ||
            pieces->highPiece(i) != other.pieces->highPiece(i))
            return false;
    return true;
}

qint64 WorkState::addPictureBytes(QSet<qint64>& seen) const {
    qint64 bytes = 0;
    if (pieces)
        for (int i = 0; i < kThemePieceCount; ++i) {
            addBytes(pieces->lowPiece(i), seen, bytes);
            addBytes(pieces->highPiece(i), seen, bytes);
        }
    for (const std::optional<SlotPictures>* slotSet : {&mainSlots, &os5Slots})
        if (*slotSet)
            for (const QImage& picture : **slotSet)
                addBytes(picture, seen, bytes);
    for (const std::optional<QImage>* snap : {&lowSnap, &highSnap})
        if (*snap)
            addBytes(**snap, seen, bytes);
    return bytes;
}

WorkState takeWork(WorkParts parts, const ThemePieces& pieces, const IconBoard& board, const QString& name) {
    WorkState state;
    if (parts & WorkPart::Pieces)
        state.pieces = pieces;
    if (parts & WorkPart::MainSlots)
        state.mainSlots = takeSlots(board, IconWindow::Main, state.mainOrigins);
    if (parts & WorkPart::Os5Slots)
        state.os5Slots = takeSlots(board, IconWindow::Os5, state.os5Origins);
    if (parts & WorkPart::LowSnap)
        state.lowSnap = board.snapshotPicture(IconWindow::Main);
    if (parts & WorkPart::HighSnap)
        state.highSnap = board.snapshotPicture(IconWindow::Os5);
    if (parts & WorkPart::Name)
        state.name = name;
    return state;
}

void putWork(const WorkState& state, ThemePieces& pieces, IconBoard& board, QString& name) {
    if (state.pieces)
        pieces = *state.pieces;
    if (state.mainSlots)
        putSlots(*state.mainSlots, state.mainOrigins, board, IconWindow::Main);
    if (state.os5Slots)
        putSlots(*state.os5Slots, state.os5Origins, board, IconWindow::Os5);
    if (state.lowSnap)
        board.setSnapshotPicture(IconWindow::Main, *state.lowSnap);
    if (state.highSnap)
        board.setSnapshotPicture(IconWindow::Os5, *state.highSnap);
    if (state.name)
        name = *state.name;
}

WorkState builtInWork() {
    WorkState state;
    state.pieces = ThemePieces();
    const IconBoard factory;
    state.mainSlots = takeSlots(factory, IconWindow::Main, state.mainOrigins);
    state.os5Slots = takeSlots(factory, IconWindow::Os5, state.os5Origins);
    state.lowSnap = factory.snapshotPicture(IconWindow::Main);
    state.highSnap = factory.snapshotPicture(IconWindow::Os5);
    state.name = QString();
    return state;
}

} // namespace vv
