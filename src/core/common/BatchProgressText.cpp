#include "core/common/BatchProgressText.h"

#include <cmath>

namespace kyv {

namespace {

constexpr double kSecondsStep = 5.0;
constexpr double kMinutesShownUpTo = 90.0 * 60.0;
constexpr double kLongestShownHours = 99.0;

QString SizeText(double bytes, const QLocale& locale)
{
    return locale.formattedDataSize(static_cast<qint64>(std::llround(bytes)), 1,
                                    QLocale::DataSizeTraditionalFormat);
}

}  // namespace

QString TimeLeftText(double seconds)
{
    if (seconds >= (kLongestShownHours + 1.0) * 3600.0) return QStringLiteral("over 99 h left");
    if (seconds < 60.0) {
        const int shown = static_cast<int>(std::max(1.0, std::ceil(seconds / kSecondsStep)) * kSecondsStep);
        return QString::number(shown) + QStringLiteral(" s left");
    }
    const long long minutes = std::llround(seconds / 60.0);
    if (seconds < kMinutesShownUpTo) return QString::number(minutes) + QStringLiteral(" min left");
    return QString::number(minutes / 60) + QStringLiteral(" h ") +
           QString::number(minutes % 60).rightJustified(2, QLatin1Char('0')) + QStringLiteral(" min left");
}

QString BatchProgressText(const BatchProgressView& view, const QLocale& locale)
{
    QString text = view.bytesTotal > 0 ? QString::number(view.Percent()) + QLatin1Char('%')
                                       : SizeText(static_cast<double>(view.bytesDone), locale);
    if (view.bytesPerSecond)
        text += QStringLiteral("  ") + SizeText(*view.bytesPerSecond, locale) + QStringLiteral("/s");
    // Done is done: no "5 s left" beside 100 %.
    const bool done = view.bytesTotal > 0 && view.bytesDone >= view.bytesTotal;
    if (view.secondsLeft && !done) text += QStringLiteral("  ") + TimeLeftText(*view.secondsLeft);
    return text;
}

}  // namespace kyv
