#include "support/IconPicks.h"

namespace vv::test {

::testing::AssertionResult pickIcons(IconBoard& board, IconWindow window, const QString& sheetPath,
                                     const QList<std::pair<int, int>>& slotCells) {
    if (!board.loadSheet(window, sheetPath, 0xFF00FF00u).loaded())
        return ::testing::AssertionFailure() << "the sheet " << sheetPath.toStdString() << " did not load";
    for (const auto& [slot, cell] : slotCells) {
        if (!board.selectCell(window, cell))
            return ::testing::AssertionFailure()
                   << "cell " << cell << " is not on " << sheetPath.toStdString();
        board.clickSlot(window, slot);
    }
    return ::testing::AssertionSuccess();
}

} // namespace vv::test
