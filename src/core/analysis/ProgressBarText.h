#pragma once
// The graphic window's progress bar as text: 43 cells that fill with solid blocks from the left.

#include <QString>
#include <QtGlobal>

namespace kyv {

inline constexpr int kProgressBarCells = 43;

// Cells filled when `done` of `total` bytes are drawn, to the nearest cell (0 to 43).
[[nodiscard]] int ProgressCells(qint64 done, qint64 total);

// `filled` solid blocks (U+2588) followed by underscores, 43 characters in all.
[[nodiscard]] QString ProgressBarText(int filled);

}  // namespace kyv
