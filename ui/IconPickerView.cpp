#include "ui/IconPickerView.h"

#include "app/LanguageFile.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/SheetSizeCheck.h"
#include "ui/TImage.h"
#include "ui/TOpenPictureDialog.h"
#include "ui/TPaintBox.h"
#include "ui/ThemeWindow.h"

#include <QDir>
#include <QFrame>
#include <QPainter>
#include <QPolygon>
#include <QWidget>

namespace vv::ui {
namespace {

// Control names that belong to the windows' layout rather than to the slot table.
struct PickerNames {
    const char* sheet;
    int firstOutline; // Bevel number drawn around PaintBox1
};

PickerNames namesOf(IconWindow side) {
    return side == IconWindow::Main ? PickerNames{"Image253", 13} : PickerNames{"Image31", 5};
}

const SnapshotSlot& snapshotSlotOf(IconWindow side) {
    return side == IconWindow::Main ? lowSnapSlot() : highSnapSlot();
}

TImage* makeImage(QWidget* parent, const QString& name, QPoint pos, QSize size) {
    auto* image = new TImage(parent);
    image->setObjectName(name);
    image->setGeometry(QRect(pos, size));
    return image;
}

} // namespace

IconPickerView::IconPickerView(QWidget* window, IconBoard& board, IconWindow side)
    : QObject(window), board_(board), side_(side) {
    const IconGrid& g = grid();
    const PickerNames names = namesOf(side);
    const bool main = side == IconWindow::Main;

    sheet_ = makeImage(window, QLatin1String(names.sheet), g.sheetPos, g.sheetSize);

    for (int cell = 1; cell <= g.cellCount; ++cell) {
        const QRect target = g.clickTarget(cell);
        const QByteArray outlineName = "Bevel" + QByteArray::number(names.firstOutline + cell - 1);
        outlines_.append(makeBevel(window, outlineName.constData(), target.x(), target.y(), target.width(),
                                   target.height()));
    }
    // The outlines are drawn over the sheet, the click targets over both.
    sheet_->lower();
    for (int cell = 1; cell <= g.cellCount; ++cell) {
        auto* box = new TPaintBox(window);
        box->setObjectName(QStringLiteral("PaintBox%1").arg(cell));
        box->setGeometry(g.clickTarget(cell));
        connect(box, &TPaintBox::clicked, this, [this, cell] { emit cellClicked(cell); });
        cells_.append(box);
    }

    const auto& table = iconSlots();
    for (int i = 0; i < kIconSlotCount; ++i) {
        const IconSlot& slot = table[i];
        TImage* image = makeImage(window, QLatin1String(main ? slot.mainName : slot.os5Name),
                                  main ? slot.mainPos : slot.os5Pos, g.slotSize);
        connect(image, &TImage::clicked, this, [this, i] { emit slotClicked(i); });
        slots_[i] = image;
    }

    // Drawn over the sheet and its bevels; clicks go through to the targets.
    chosenCell_ = new QFrame(window);
    chosenCell_->setObjectName(QStringLiteral("ChosenCell"));
    chosenCell_->setAttribute(Qt::WA_TransparentForMouseEvents);
    chosenCell_->hide();

    const SnapshotSlot& snap = snapshotSlotOf(side);
    snapshotFrame_ = new QFrame(window);
    snapshotFrame_->setObjectName(QStringLiteral("SnapshotFrame"));
    snapshotFrame_->setGeometry(QRect(snap.pos, snap.size).adjusted(-2, -2, 2, 2));
    snapshotFrame_->setAttribute(Qt::WA_TransparentForMouseEvents);
    snapshotFrame_->lower();
    snapshot_ = makeImage(window, QLatin1String(snap.name), snap.pos, snap.size);
    snapshot_->setCursor(Qt::PointingHandCursor);
    connect(snapshot_, &TImage::clicked, this, &IconPickerView::snapshotClicked);

    QStringList holderNames;
    for (const IconSlot& slot : table)
        holderNames.append(QLatin1String(main ? slot.mainHolder : slot.os5Holder));
    holderNames.append(QLatin1String(snap.holder));
    for (const QString& name : holderNames) {
        if (holders_.contains(name))
            continue;
        TImage* holder = makeImage(window, name, QPoint(0, 0), g.slotSize);
        holder->setPicture(board_.holderPicture(side, name));
        holder->hide();
        holders_.insert(name, holder);
    }

    showSlotsAndSnapshot();
    showChosen();
}

QColor standOutColour(const QImage& area) {
    qint64 light = 0;
    const QImage rgb = area.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            light += qGray(rgb.pixel(x, y));
    const qint64 pixels = qint64(rgb.width()) * rgb.height();
    return pixels > 0 && light / pixels >= 128 ? QColor(160, 0, 0) : QColor(255, 255, 0);
}

void IconPickerView::showChosen() {
    const int cell = board_.selectedCell(side_);
    const auto frameIn = [](QFrame* frame, const QColor& colour) {
        frame->setStyleSheet(
            QStringLiteral("QFrame { border: 1px solid %1; background: transparent; }").arg(colour.name()));
    };
    if (grid().isCell(cell)) {
        const QRect target = grid().clickTarget(cell);
        chosenCell_->setGeometry(target);
        const QRect onSheet = target.translated(-grid().sheetPos);
        frameIn(chosenCell_, standOutColour(board_.sheet(side_).copy(onSheet)));
        chosenCell_->raise();
        chosenCell_->show();
    } else {
        chosenCell_->hide();
    }
    // The snapshot always has a frame, so it reads as a picture to click and
    // not as one more slot; it stands out while it is the source.
    frameIn(snapshotFrame_, cell == 0 ? standOutColour(board_.snapshotPicture(side_)) : QColor(Qt::darkGray));
}

TPaintBox* IconPickerView::cellTarget(int cell) const {
    return grid().isCell(cell) ? cells_.at(cell - 1) : nullptr;
}

QFrame* IconPickerView::cellOutline(int cell) const {
    return grid().isCell(cell) ? outlines_.at(cell - 1) : nullptr;
}

void IconPickerView::showSlot(int slot) {
    slots_.at(slot)->setPicture(board_.slotPicture(side_, slot));
}

void IconPickerView::showSnapshot() {
    // Through the board's guard: the snapshot worker may be drawing.
    snapshot_->setPicture(board_.snapshotPicture(side_));
}

void IconPickerView::showSheet() {
    sheet_->setPicture(board_.sheet(side_));
    showChosen();
}

void IconPickerView::showSlotsAndSnapshot() {
    for (int i = 0; i < kIconSlotCount; ++i)
        showSlot(i);
    showSnapshot();
}

void IconPickerView::loadSheetFromDialog(TOpenPictureDialog& dialog, const QString& startDir,
                                         const QString& invalidPrefix) {
    dialog.InitialDir = startDir + QStringLiteral("/IconBMP");
    const QString path = dialog.Execute();
    if (path.isEmpty())
        return;
    loadSheetFile(path, invalidPrefix);
}

void IconPickerView::loadSheetFile(const QString& path, const QString& invalidPrefix) {
    const SheetLoadResult result = loadSheetPicture(path, outsideSheetColour());
    switch (result.status) {
    case SheetLoadResult::Status::Loaded:
        if (!confirmSheetSize(result.picture.size(), iconGrid(side_).fullSheetSize()))
            return;
        board_.setSheet(side_, result.picture);
        showSheet();
        return;
    case SheetLoadResult::Status::InvalidPicture:
        dialogs().showMessage(invalidPrefix + QStringLiteral(": ") + result.loaderMessage);
        return;
    case SheetLoadResult::Status::Unreadable:
        dialogs().showMessage(QDir::toNativeSeparators(path) + QStringLiteral(": ") + result.loaderMessage);
        return;
    }
}

// Crisp pictures drawn on a 16 x 12 grid for the small buttons; the 32 x 22 icon
// artwork shrinks to a blur at this size.
QImage pictureButtonPicture(PictureButton kind, QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.scale(size.width() / 16.0, size.height() / 12.0);
    if (size != QSize(16, 12))
        painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(40, 40, 40));
    if (kind == PictureButton::OpenSheet) {
        // An open folder.
        painter.setBrush(QColor(240, 200, 80));
        painter.drawRect(1, 2, 5, 2);
        painter.drawRect(1, 3, 13, 8);
        painter.setBrush(QColor(255, 225, 120));
        painter.drawPolygon(QPolygon({QPoint(3, 6), QPoint(15, 6), QPoint(13, 11), QPoint(1, 11)}));
    } else {
        // A database: a stack of discs.
        painter.setBrush(QColor(90, 150, 220));
        painter.drawRect(3, 2, 9, 8);
        painter.drawEllipse(3, 0, 9, 4);
        painter.drawArc(3, 4, 9, 4, 180 * 16, 180 * 16);
        painter.drawArc(3, 8, 9, 3, 180 * 16, 180 * 16);
    }
    return picture;
}

TImage* makePictureButton(QWidget* parent, const char* name, QPoint pos, PictureButton kind, QSize size) {
    const QImage picture = pictureButtonPicture(kind, size);
    TImage* button = makeImage(parent, QLatin1String(name), pos, picture.size());
    button->setPicture(picture);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void toggleSheetArea(QWidget* window, TButton* button, int shortOuterHeight, int tallOuterHeight,
                     const QString& showCaption, const QString& hideCaption) {
    const auto builtIn = [](const char* member) {
        return builtInLanguageLines().value(languageLineFor("Form1", member) - 1);
    };
    if (button->Tag == 1) {
        button->Tag = 0;
        button->setText(showCaption.isEmpty() ? builtIn("ShowIconsCaption") : showCaption);
        setDesignedOuterHeight(window, shortOuterHeight);
    } else {
        button->Tag = 1;
        button->setText(hideCaption.isEmpty() ? builtIn("HideIconsCaption") : hideCaption);
        setDesignedOuterHeight(window, tallOuterHeight);
    }
    refreshToolTip(button); // the two captions have keys of their own
}

void setDesignedOuterHeight(QWidget* window, int outerHeight) {
    window->setFixedHeight(outerHeight - kDesignedFrameHeight);
    centreOnScreen(window);
}

} // namespace vv::ui
