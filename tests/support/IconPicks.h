// Icon picks as the two icon windows make them: a sheet loaded, then for each
// slot a cell selected and the slot clicked.
#pragma once

#include "icons/IconBoard.h"

#include <QList>
#include <QString>
#include <gtest/gtest.h>

#include <utility>

namespace vv::test {

// Loads `sheetPath` on `window` and puts each (slot, cell) pick into its slot;
// fails, naming the cause, when the sheet does not load or a cell is not on it.
::testing::AssertionResult pickIcons(IconBoard& board, IconWindow window, const QString& sheetPath,
                                     const QList<std::pair<int, int>>& slotCells);

} // namespace vv::test
