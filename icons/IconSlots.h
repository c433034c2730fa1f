// The icon slots of the main window and the OS5 icon window, and the two icon
// grids laid over the icon sheets. Pickers, resets, piece lists and both builds
// read these tables; nothing about a slot is written down anywhere else.
#pragma once

#include "common/BuildOptions.h"
#include "common/ResourceFamily.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>

namespace vv {

// One icon, as a 32 x 22 slot on the main window and a 64 x 44 slot on the
// OS5 icon window. Names are the windows' control names; positions are window
// client coordinates of the slot's top-left corner.
struct IconSlot {
    BuildKind use;        // the build the slot feeds: the icon set or the theme
    int familyId;         // 10000.. in steps of 10, within the slot's own build
    const char* mainName; // "Image241"
    QPoint mainPos;
    const char* mainHolder; // hidden control holding the factory picture
    const char* os5Name;    // the OS5 partner, "Image1"
    QPoint os5Pos;
    const char* os5Holder;
    const char* lowPiece;  // base name of the 32 x 22 piece, "Icon03E1"
    const char* highPiece; // base name of the 64 x 44 piece, "Icon04H1"
};

inline constexpr int kIconSlotCount = 32;
inline constexpr int kIconSetSlotCount = 12;
inline constexpr int kThemeIconSlotCount = 20;

// The 32 slots: the 12 icon-set slots in family order, then the 20 theme icon
// slots in family order (Image6..Image23, Image43, Image44).
const std::array<IconSlot, kIconSlotCount>& iconSlots();

// Table index of a slot by its control name on either window; -1 if none.
int slotIndexByMainName(const QString& name);
int slotIndexByOs5Name(const QString& name);

// "IconRsrc/Icon03E1.bmp": a piece's path relative to the start directory.
QString lowPiecePath(const IconSlot& slot);
QString highPiecePath(const IconSlot& slot);

// The icon families, built from the slot table (kind Icon, the slot's folder,
// in family ID order): 12 for the icon set, 20 for the theme.
QList<ResourceFamily> iconSetFamilies();
QList<ResourceFamily> themeIconFamilies();

// The snapshot pictures and their factory holders.
struct SnapshotSlot {
    const char* name; // "LowSnap" / "HighSnap"
    QPoint pos;
    const char* holder; // "Image47" / "Image56"
    QSize size;
};
const SnapshotSlot& lowSnapSlot();
const SnapshotSlot& highSnapSlot();

inline constexpr QSize kLowIconSize(32, 22);
inline constexpr QSize kHighIconSize(64, 44);

// A grid of clickable cells over an icon sheet. Cells are numbered from 1 in
// bands of `bandColumns` columns, each band filled row by row; the OS5 grid is
// one band as wide as the grid.
struct IconGrid {
    int cellCount;
    int bandColumns;
    int rows;
    QSize pitch;         // distance between neighbouring cells
    QPoint sourceOrigin; // where cell 1's copy starts in the sheet bitmap
    QSize sourceSize;    // size of a cell's copy; slots keep only their own size
    QPoint sheetPos;     // the sheet picture on its window
    QSize sheetSize;     // the sheet control (the bitmap may be larger)
    QPoint clickOrigin;  // cell 1's click target on the window
    QSize clickSize;
    QSize slotSize;

    bool isCell(int cell) const { return cell >= 1 && cell <= cellCount; }
    int column(int cell) const;
    int row(int cell) const;
    // CellX, CellY: the cell's offset in the sheet. Only for isCell(cell).
    QPoint cellOrigin(int cell) const;
    // The rectangle of the sheet bitmap a slot click copies from.
    QRect sourceRect(int cell) const;
    // The cell's click target in window client coordinates.
    QRect clickTarget(int cell) const;
    // The size of a sheet made for this grid: just large enough for every
    // cell's whole copy (579 x 450 main, 726 x 484 OS5).
    QSize fullSheetSize() const;
};

// 272 cells in four bands of four columns by 17 rows; copies of 36 x 26 from (3, 8).
const IconGrid& mainIconGrid();
// 90 cells, 10 columns by 9 rows; copies of 72 x 52 from (6, 16).
const IconGrid& os5IconGrid();

} // namespace vv
