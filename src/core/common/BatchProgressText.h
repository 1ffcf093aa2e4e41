#pragma once
// The batch's progress in a few words, the same in the report window's bar and on kyv's progress
// line: "37%  45.2 MB/s  2 min left".

#include <QLocale>
#include <QString>

#include "core/common/BatchProgress.h"

namespace kyv {

// The percentage (without a total, the bytes done), then the speed and the time left once known;
// numbers and sizes in `locale`'s format.
[[nodiscard]] QString BatchProgressText(const BatchProgressView& view, const QLocale& locale = QLocale());

// "5 s left" (seconds up to a minute, in steps of 5), "12 min left" (up to 90 minutes),
// "2 h 05 min left", "over 99 h left".
[[nodiscard]] QString TimeLeftText(double seconds);

}  // namespace kyv
