#include "core/analysis/ProgressBarText.h"

#include <algorithm>

namespace kyv {

namespace {
constexpr char16_t kFullBlock = u'\u2588';
}

int ProgressCells(qint64 done, qint64 total)
{
    if (total <= 0) return 0;
    const long double share = static_cast<long double>(std::clamp<qint64>(done, 0, total)) / total;
    return static_cast<int>(share * kProgressBarCells + 0.5L);
}

QString ProgressBarText(int filled)
{
    filled = std::clamp(filled, 0, kProgressBarCells);
    return QString(filled, QChar(kFullBlock)) + QString(kProgressBarCells - filled, QLatin1Char('_'));
}

}  // namespace kyv
