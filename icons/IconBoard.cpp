#include "icons/IconBoard.h"

#include "common/PictureCopy.h"
#include "icons/IconArt.h"

#include <QMutexLocker>

namespace vv {

const IconGrid& iconGrid(IconWindow window) {
    return window == IconWindow::Main ? mainIconGrid() : os5IconGrid();
}

IconBoard::IconBoard() {
    const auto& table = iconSlots();
    for (int i = 0; i < kIconSlotCount; ++i) {
        main_.holders.insert(QLatin1String(table[i].mainHolder), factorySlotPicture(i, 1));
        os5_.holders.insert(QLatin1String(table[i].os5Holder), factorySlotPicture(i, 2));
    }
    main_.holders.insert(QLatin1String(lowSnapSlot().holder), factorySnapshotPicture(1));
    os5_.holders.insert(QLatin1String(highSnapSlot().holder), factorySnapshotPicture(2));
    reset(IconWindow::Main);
    reset(IconWindow::Os5);
}

const QImage& IconBoard::slotPicture(IconWindow window, int slot) const {
    return side(window).slotPictures.at(slot);
}

const PictureOrigin& IconBoard::slotOrigin(IconWindow window, int slot) const {
    return side(window).origins.at(slot);
}

void IconBoard::setSlotOrigin(IconWindow window, int slot, const PictureOrigin& origin) {
    side(window).origins.at(slot) = origin;
}

QImage IconBoard::holderPicture(IconWindow window, const QString& holderName) const {
    return side(window).holders.value(holderName);
}

const QImage& IconBoard::sheet(IconWindow window) const {
    return side(window).sheet;
}

int IconBoard::selectedCell(IconWindow window) const {
    return side(window).selectedCell;
}

bool IconBoard::selectCell(IconWindow window, int cell) {
    if (!iconGrid(window).isCell(cell))
        return false;
    side(window).selectedCell = cell;
    return true;
}

void IconBoard::selectSnapshot(IconWindow window) {
    side(window).selectedCell = 0;
}

void IconBoard::clickMainSlot(int slot) {
    QImage& target = main_.slotPictures.at(slot);
    main_.origins.at(slot) =
        PictureOrigin::fresh(main_.selectedCell == 0 ? PictureSource::Snapshot : PictureSource::Cell);
    if (main_.selectedCell == 0) {
        target = snapshotPicture(IconWindow::Main);
        return;
    }
    copyPixels(main_.sheet, mainIconGrid().sourceRect(main_.selectedCell), target, QPoint(0, 0),
               kSheetOutsideColour);
}

void IconBoard::clickOs5Slot(int slot) {
    QImage& target = os5_.slotPictures.at(slot);
    QImage& partner = main_.slotPictures.at(slot);
    // One stamp for the pair: the half-size partner carries the same art.
    const PictureOrigin origin =
        PictureOrigin::fresh(os5_.selectedCell == 0 ? PictureSource::Snapshot : PictureSource::Cell);
    os5_.origins.at(slot) = origin;
    main_.origins.at(slot) = origin;
    if (os5_.selectedCell == 0) {
        target = snapshotPicture(IconWindow::Os5);
        copyPixelsHalfSize(target, QRect(QPoint(0, 0), kHighIconSize), partner, QPoint(0, 0),
                           kSheetOutsideColour);
        return;
    }
    const QRect source = os5IconGrid().sourceRect(os5_.selectedCell);
    copyPixels(os5_.sheet, source, target, QPoint(0, 0), kSheetOutsideColour);
    copyPixelsHalfSize(os5_.sheet, source, partner, QPoint(0, 0), kSheetOutsideColour);
}

void IconBoard::clickSlot(IconWindow window, int slot) {
    if (window == IconWindow::Main)
        clickMainSlot(slot);
    else
        clickOs5Slot(slot);
}

void IconBoard::reset(IconWindow window) {
    Side& s = side(window);
    const bool main = window == IconWindow::Main;
    const auto& table = iconSlots();
    // Copies, not shared pictures: a later pick draws into the slot's own bitmap.
    for (int i = 0; i < kIconSlotCount; ++i)
        s.slotPictures[i] =
            s.holders.value(QLatin1String(main ? table[i].mainHolder : table[i].os5Holder)).copy();
    s.origins.fill(PictureOrigin{});
    const QImage factory =
        s.holders.value(QLatin1String(main ? lowSnapSlot().holder : highSnapSlot().holder));
    writeSnapshot(window, [&](QImage& picture) { picture = factory.copy(); });
}

SheetLoadResult IconBoard::loadSheet(IconWindow window, const QString& path, QRgb transparency) {
    SheetLoadResult result = loadSheetPicture(path, transparency);
    if (result.loaded())
        side(window).sheet = result.picture;
    return result;
}

void IconBoard::setSheet(IconWindow window, const QImage& sheet) {
    side(window).sheet = sheet.convertToFormat(QImage::Format_RGB32);
}

namespace {

// `picture` in the size and format of a slot or snapshot picture of `size`.
QImage fittedPicture(const QImage& picture, QSize size) {
    if (picture.size() == size && picture.format() == QImage::Format_RGB32)
        return picture;
    QImage target = makeRgbPicture(size, kSheetOutsideColour);
    copyPixels(picture, target.rect(), target, {0, 0}, kSheetOutsideColour);
    return target;
}

} // namespace

void IconBoard::setSlotPicture(IconWindow window, int slot, const QImage& picture, PictureOrigin origin) {
    side(window).slotPictures.at(slot) = fittedPicture(picture, iconGrid(window).slotSize);
    side(window).origins.at(slot) = origin;
}

int IconBoard::pickedSlotCount(IconWindow window) const {
    const Side& s = side(window);
    const auto& table = iconSlots();
    int picked = 0;
    for (int i = 0; i < kIconSlotCount; ++i) {
        const char* holder = window == IconWindow::Main ? table[i].mainHolder : table[i].os5Holder;
        if (s.slotPictures[i] != s.holders.value(QLatin1String(holder)))
            ++picked;
    }
    return picked;
}

QImage IconBoard::snapshotPicture(IconWindow window) const {
    QMutexLocker lock(&snapshotLock_);
    return (window == IconWindow::Main ? lowSnap_ : highSnap_).copy();
}

void IconBoard::writeSnapshot(IconWindow window, const std::function<void(QImage&)>& draw) {
    QMutexLocker lock(&snapshotLock_);
    QImage& picture = snapshotOf(window);
    draw(picture);
    Q_ASSERT(picture.size() == (window == IconWindow::Main ? kLowIconSize : kHighIconSize));
}

void IconBoard::setSnapshotPicture(IconWindow window, const QImage& picture) {
    const QImage fitted = fittedPicture(picture, window == IconWindow::Main ? kLowIconSize : kHighIconSize);
    writeSnapshot(window, [&](QImage& snapshot) { snapshot = fitted; });
}

void IconBoard::halveHighSnapIntoLowSnap() {
    QMutexLocker lock(&snapshotLock_);
    copyPixelsHalfSize(highSnap_, QRect(QPoint(0, 0), kHighIconSize), lowSnap_, QPoint(0, 0),
                       kSheetOutsideColour);
}

} // namespace vv
