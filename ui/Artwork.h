// The program's own pictures, drawn at run time so no binary artwork is kept:
// the program picture (100 x 100 in the windows; also the window icon and, at
// the desktop's icon sizes, the menu entry's icon), the 160 x 160
// handheld-screen picture of the About box, and the frame of the main
// window's icon-set slots.
#pragma once

#include <QIcon>
#include <QImage>

namespace vv::ui {

// The sizes the program picture is drawn at for icons: the desktop's usual
// icon theme sizes. The window icon holds each; the package installs each.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

QImage programPicture(int size = 100);
// The program picture at every size of kProgramIconSizes.
QIcon programIcon();
QImage handheldScreenPicture();
// The decorative frame at the main window's left: a handheld's case around the
// 4 x 3 block of icon-set slots, with a band at the top where "Hi-Res I&cons"
// sits. `size` is the whole frame; the slots lie in `slotBlock` (frame
// coordinates), which is left as an even, light screen.
QImage iconSetFramePicture(QSize size, const QRect& slotBlock);

} // namespace vv::ui
