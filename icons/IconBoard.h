// The pictures behind the two icon pickers: the 32 slotPictures of the main window
// (32 x 22) and of the OS5 icon window (64 x 44), their hidden factory holders,
// the snapshot pictures LowSnap and HighSnap, each window's icon sheet and
// chosen cell, and the picks and resets that change them. The windows show
// these pictures and forward their clicks; slotPictures are addressed by their index
// in iconSlots().
#pragma once

#include "common/PictureOrigin.h"
#include "common/SheetPicture.h"
#include "icons/IconSlots.h"

#include <QHash>
#include <QImage>
#include <QMutex>
#include <QString>

#include <array>
#include <functional>

namespace vv {

// Main: the main window, its 32 x 22 slotPictures and LowSnap (snapshot target 0).
// Os5: the OS5 icon window, its 64 x 44 slotPictures and HighSnap (snapshot target 1).
enum class IconWindow { Main, Os5 };

const IconGrid& iconGrid(IconWindow window);

// What a cell copy reads where the sheet has no pixels (no sheet loaded, or a
// sheet smaller than the grid): plain white, so a missing part shows as empty
// paper rather than as something that looks picked.
inline constexpr QRgb kSheetOutsideColour = 0xFFFFFFFFu;

class IconBoard {
public:
    // Every slot, holder and snapshot picture starts with its factory picture;
    // no sheet is loaded (an empty bitmap) and no cell is chosen.
    IconBoard();
    IconBoard(const IconBoard&) = delete;
    IconBoard& operator=(const IconBoard&) = delete;

    const QImage& slotPicture(IconWindow window, int slot) const;
    // Where the slot's picture came from and when it was last set.
    const PictureOrigin& slotOrigin(IconWindow window, int slot) const;
    // Says so without changing the picture (a database that had none for it).
    void setSlotOrigin(IconWindow window, int slot, const PictureOrigin& origin);
    // A hidden default holder by its control name ("Image24", "Image47"); a
    // null picture for a name that is not a holder of that window.
    QImage holderPicture(IconWindow window, const QString& holderName) const;
    const QImage& sheet(IconWindow window) const;

    // The chosen cell (SelectedCell): 0 means the snapshot picture is the source.
    int selectedCell(IconWindow window) const;
    // A cell click. Returns false, changing nothing, for a number outside the grid.
    bool selectCell(IconWindow window, int cell);
    // A click on LowSnap/DeskShot (Main) or HighSnap (Os5): the snapshot
    // becomes the source of the next slot clicks.
    void selectSnapshot(IconWindow window);

    // A slot click on the main window: the chosen cell of the main sheet, or
    // a copy of LowSnap when no cell is chosen. Never touches the OS5 slotPictures.
    void clickMainSlot(int slot);
    // A slot click on the OS5 window: the chosen cell of the OS5 sheet (or a
    // copy of HighSnap) into the slot, and the half-size image of it into the
    // partner main slot. The main window's chosen cell is neither read nor changed.
    void clickOs5Slot(int slot);
    void clickSlot(IconWindow window, int slot);

    // Reset Data: the window's slotPictures and its snapshot picture take copies of
    // their holders. The chosen cell, the sheet and the other window stay.
    void reset(IconWindow window);

    // Loads a sheet, what its alpha leaves transparent in `transparency`. On
    // failure the previous sheet stays and the result carries the loader's
    // text; the chosen cell never changes.
    SheetLoadResult loadSheet(IconWindow window, const QString& path, QRgb transparency);
    // Puts a picture in as the window's sheet (converted to 24 bits).
    void setSheet(IconWindow window, const QImage& sheet);
    // Replaces a slot's picture, by default as read back from a database now:
    // copied into a picture of the window's slot size (clipped, white where
    // it is smaller). A picture that already has the slot's size and format
    // is shared, not copied (an undo puts back the very picture it took).
    void setSlotPicture(IconWindow window, int slot, const QImage& picture,
                        PictureOrigin origin = PictureOrigin::fresh(PictureSource::Database));
    // How many of the window's slots hold another picture than their factory one.
    int pickedSlotCount(IconWindow window) const;

    // The snapshot guard. LowSnap and HighSnap are written by the snapshot
    // worker thread while the windows stay clickable, so they are only ever
    // touched through these two functions, which share one mutex: a slot
    // click reads a finished picture, never one half drawn.
    // Returns a deep copy of the snapshot picture of `window`.
    QImage snapshotPicture(IconWindow window) const;
    // Runs `draw` on the snapshot picture of `window` under the lock. Keep
    // it short (one copy), keep the picture's size and format, and never call
    // back into the board from it.
    void writeSnapshot(IconWindow window, const std::function<void(QImage&)>& draw);
    // The end of a snapshot taken on the OS5 window: LowSnap becomes the
    // half-size image of HighSnap, read and written under the one lock.
    void halveHighSnapIntoLowSnap();
    // Replaces the snapshot picture of `window` under the lock (an undo, a
    // kept session), fitted to its size as setSlotPicture fits a slot's.
    void setSnapshotPicture(IconWindow window, const QImage& picture);

private:
    struct Side {
        std::array<QImage, kIconSlotCount> slotPictures;
        std::array<PictureOrigin, kIconSlotCount> origins{};
        QHash<QString, QImage> holders;
        QImage sheet;
        int selectedCell = 0;
    };
    Side& side(IconWindow window) { return window == IconWindow::Main ? main_ : os5_; }
    const Side& side(IconWindow window) const { return window == IconWindow::Main ? main_ : os5_; }
    QImage& snapshotOf(IconWindow window) { return window == IconWindow::Main ? lowSnap_ : highSnap_; }

    Side main_;
    Side os5_;
    mutable QMutex snapshotLock_;
    QImage lowSnap_;  // guarded by snapshotLock_
    QImage highSnap_; // guarded by snapshotLock_
};

} // namespace vv
