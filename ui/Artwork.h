// The program's own pictures, drawn at run time so no binary artwork is kept:
// the 100 x 100 program picture (also the window icon) and the 160 x 160
// handheld-screen picture of the About box.
#pragma once

#include <QImage>

namespace vv::ui {

QImage programPicture();
QImage handheldScreenPicture();

} // namespace vv::ui
