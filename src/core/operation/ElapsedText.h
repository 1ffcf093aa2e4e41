#pragma once
// The elapsed time of a run in words, naming at most the two largest non-zero units.

#include <QString>
#include <cstdint>

namespace kyv {

// "4 seconds", "1 minute and 5 seconds", "1 hour and 2 minutes", "1 day and 1 hour".
[[nodiscard]] QString FormatElapsed(std::int64_t seconds);
// Minutes (at least 1) in days, hours and minutes: "2 minutes", "1 day and 3 hours".
[[nodiscard]] QString FormatMinutes(std::int64_t minutes);

}  // namespace kyv
