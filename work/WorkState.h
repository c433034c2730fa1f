// The user's work as undo and the kept session see it: the theme pieces, the
// icon slots of both windows, the two snapshot pictures and the database name,
// taken and put back by part. Pictures are held as QImage copies, which share
// their pixels until one side changes, so taking a part costs next to nothing.
#pragma once

#include "icons/IconBoard.h"
#include "theme/ThemePieces.h"

#include <QFlags>
#include <QImage>
#include <QSet>
#include <QString>

#include <array>
#include <optional>

namespace vv {

enum class WorkPart : unsigned {
    Pieces = 0x01,    // the 58 theme pieces at both resolutions
    MainSlots = 0x02, // the main window's 32 slots
    Os5Slots = 0x04,  // the OS5 icon window's 32 slots
    LowSnap = 0x08,   // the main window's snapshot picture
    HighSnap = 0x10,  // the OS5 window's snapshot picture
    Name = 0x20,      // the database name ("pdb name")
};
Q_DECLARE_FLAGS(WorkParts, WorkPart)
Q_DECLARE_OPERATORS_FOR_FLAGS(WorkParts)

inline constexpr WorkParts kAllWorkParts = WorkParts(0x3F);

using SlotPictures = std::array<QImage, kIconSlotCount>;
using SlotOrigins = std::array<PictureOrigin, kIconSlotCount>;

// Some or all parts of the work; a part not taken is empty. The pieces carry
// their origins; the slots' origins are taken and put back with the slots.
struct WorkState {
    std::optional<ThemePieces> pieces;
    std::optional<SlotPictures> mainSlots;
    std::optional<SlotPictures> os5Slots;
    SlotOrigins mainOrigins{};
    SlotOrigins os5Origins{};
    std::optional<QImage> lowSnap;
    std::optional<QImage> highSnap;
    std::optional<QString> name;

    WorkParts parts() const;
    // Same parts with the same pictures (pixel for pixel), origins and name.
    bool operator==(const WorkState& other) const;

    // Adds the bytes of every picture held whose pixels `seen` does not hold
    // yet (by QImage::cacheKey), so pictures shared between states count once.
    qint64 addPictureBytes(QSet<qint64>& seen) const;
};

// Takes `parts` of the work held by `pieces`, `board` and `name`.
WorkState takeWork(WorkParts parts, const ThemePieces& pieces, const IconBoard& board, const QString& name);
// Puts every part `state` holds back into `pieces`, `board` and `name`.
// Pictures of another size than their place are fitted as a database's are.
void putWork(const WorkState& state, ThemePieces& pieces, IconBoard& board, QString& name);

// The work as it is before the user has changed anything: the built-in theme,
// every slot and snapshot picture its factory picture, and no name.
WorkState builtInWork();

} // namespace vv
