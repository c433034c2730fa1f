// The question a window asks before it cuts a sheet whose size is not the one
// it was made for: the pieces or cells would be cut from the wrong places.
#pragma once

#include "theme/PieceTable.h"

#include <QSize>

#include <optional>

namespace vv::ui {

// True when a sheet of `sheet` size may be cut: it is `expected`, or the user
// answered yes to cutting it anyway.
bool confirmSheetSize(QSize sheet, QSize expected);

// The same for a skin sheet on a theme window of `window` resolution, with one
// more way out on the low-resolution window: a sheet of the high-resolution
// size may be cut as such (both sets of pieces). The resolution to cut at, or
// nothing when the sheet is not to be cut.
std::optional<PieceResolution> confirmSkinSheetSize(QSize sheet, PieceResolution window);

} // namespace vv::ui
