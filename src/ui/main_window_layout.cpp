#include "ui/main_window_layout.h"

namespace tessaro::ui::layout {

TwipsRect ManualButtonRect(int index) {
    const int columns = static_cast<int>(kManualColumns.size());
    const int row = index / columns;
    int column = index % columns;
    if (row >= kFirstReversedRow)
        column = columns - 1 - column;
    return {kManualColumns[static_cast<std::size_t>(column)],
            kManualRowTops[static_cast<std::size_t>(row)], kManualWidth, kManualHeight};
}

} // namespace tessaro::ui::layout
