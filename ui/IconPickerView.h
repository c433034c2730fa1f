// The controls of one icon picker, made from the slot table and the grid
// table: the sheet picture, a click target and an outline per cell, the 32
// slots, the hidden factory holders and the snapshot picture. The pictures
// live in the program's IconBoard; the controls show copies of them, and the
// view reports clicks by table index for the window's handlers to act on.
#pragma once

#include "icons/IconBoard.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>

#include <array>

class QFrame;
class QWidget;
class TButton;
class TImage;
class TOpenPictureDialog;
class TPaintBox;

namespace vv::ui {

class IconPickerView : public QObject {
    Q_OBJECT
public:
    // Builds the controls on `window` and shows the board's pictures in them.
    // `board` must outlive the view.
    IconPickerView(QWidget* window, IconBoard& board, IconWindow side);

    IconWindow side() const { return side_; }
    const IconGrid& grid() const { return iconGrid(side_); }

    TImage* sheetImage() const { return sheet_; }       // Image253 / Image31
    TImage* snapshotImage() const { return snapshot_; } // LowSnap / HighSnap
    // By index in iconSlots().
    TImage* slotImage(int slot) const { return slots_.at(slot); }
    // By cell number, 1-based; null outside the grid.
    TPaintBox* cellTarget(int cell) const;
    QFrame* cellOutline(int cell) const;
    // A hidden factory holder by its control name; null if none.
    TImage* holderImage(const QString& name) const { return holders_.value(name); }

    // Copies the board's current pictures into the controls.
    void showSlot(int slot);
    void showSnapshot();
    void showSheet();
    void showSlotsAndSnapshot();
    // Marks what the next slot click copies: the chosen cell outlined on the
    // sheet, or the snapshot picture's frame when it is the source.
    void showChosen();
    // The outline of the chosen cell and the snapshot picture's frame.
    QFrame* chosenCellMarker() const { return chosenCell_; }
    QFrame* snapshotFrame() const { return snapshotFrame_; }

    // The sheet load both windows offer: the dialog opens in StartDir/IconBMP;
    // a cancel changes nothing; a file the loader rejects is reported as
    // `invalidPrefix` + ": " + the loader's text and keeps the previous
    // sheet; a file that cannot be opened is reported with its path; a sheet
    // whose size does not fit the grid is taken only when the user says so.
    void loadSheetFromDialog(TOpenPictureDialog& dialog, const QString& startDir,
                             const QString& invalidPrefix);
    // The same for a file already chosen (a picture dropped on the window).
    void loadSheetFile(const QString& path, const QString& invalidPrefix);

signals:
    void cellClicked(int cell);
    void slotClicked(int slot);
    void snapshotClicked();

private:
    IconBoard& board_;
    IconWindow side_;
    TImage* sheet_ = nullptr;
    TImage* snapshot_ = nullptr;
    std::array<TImage*, kIconSlotCount> slots_{};
    QList<TPaintBox*> cells_;
    QList<QFrame*> outlines_;
    QHash<QString, TImage*> holders_;
    QFrame* chosenCell_ = nullptr;
    QFrame* snapshotFrame_ = nullptr;
};

// A colour for a 1-pixel frame that stands out on `area`: yellow on dark art,
// dark red on light art.
QColor standOutColour(const QImage& area);

// The small clickable pictures beside the flat load and build buttons.
enum class PictureButton { OpenSheet, BuildDatabase };
QImage pictureButtonPicture(PictureButton kind, QSize size = {16, 12});
TImage* makePictureButton(QWidget* parent, const char* name, QPoint pos, PictureButton kind,
                          QSize size = {16, 12});

// Show Icons on either picker window: the button's Tag flips between 0 (short
// window, `showCaption`) and 1 (sheet area open, `hideCaption`), the window
// takes the matching designed outer height and is centred again. Captions not
// yet read from a language file fall back to the window's own.
void toggleSheetArea(QWidget* window, TButton* button, int shortOuterHeight, int tallOuterHeight,
                     const QString& showCaption, const QString& hideCaption);

// The client height of a window whose designed outer height is `outerHeight`.
// Heights are kept as the design had them, frame included; the design's frame
// took this many pixels, and the client area is what must fit the controls,
// whatever frame the desktop draws.
inline constexpr int kDesignedFrameHeight = 24;
void setDesignedOuterHeight(QWidget* window, int outerHeight);

} // namespace vv::ui
