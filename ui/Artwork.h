// The program's own pictures, drawn at run time so no binary artwork is kept:
// the 100 x 100 program picture (also the window icon) and the 160 x 160
// handheld-screen picture of the About box, and the frame of the main
// window's icon-set slots.
#pragma once

#include <QImage>

namespace vv::ui {

QImage programPicture();
QImage handheldScreenPicture();
// The decorative frame at the main window's left: a handheld's case around the
// 4 x 3 block of icon-set slots, with a band at the top where "Hi-R&es Icons"
// sits. `size` is the whole frame; the slots lie in `slotBlock` (frame
// coordinates), which is left as an even, light screen.
QImage iconSetFramePicture(QSize size, const QRect& slotBlock);

} // namespace vv::ui
