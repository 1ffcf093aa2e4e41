#include "core/operation/ElapsedText.h"

namespace kyv {

namespace {

QString Counted(std::int64_t count, const char* unit)
{
    QString text = QString::number(count) + QLatin1Char(' ') + QLatin1String(unit);
    if (count != 1) text += QLatin1Char('s');
    return text;
}

// Names at most two units: with more than one "and", everything from the last one is dropped.
QString KeepTwoLargestUnits(const QString& text)
{
    const QString conjunction = QStringLiteral("and");
    if (text.count(conjunction) <= 1) return text;
    return text.left(text.lastIndexOf(conjunction)).trimmed();
}

}  // namespace

QString FormatMinutes(std::int64_t minutes)
{
    QString text;
    std::int64_t days = 0;
    std::int64_t hours = 0;
    if (minutes >= 1440) {
        days = minutes / 1440;
        minutes %= 1440;
        text += Counted(days, "day");
    }
    if (minutes >= 60) {
        if (days > 0) text += QStringLiteral(" and ");
        hours = minutes / 60;
        minutes %= 60;
        text += Counted(hours, "hour");
    }
    if (minutes > 0) {
        if (hours > 0 || days > 0) text += QStringLiteral(" and ");
        text += Counted(minutes, "minute");
    }
    if (text.isEmpty()) text = QStringLiteral("0 minutes");
    return KeepTwoLargestUnits(text);
}

QString FormatElapsed(std::int64_t seconds)
{
    const std::int64_t s = seconds % 60;
    const std::int64_t m = seconds / 60;
    const QString secondsText = Counted(s, "second");
    if (m == 0) return secondsText;
    QString text = FormatMinutes(m);
    if (s > 0) text += QStringLiteral(" and ") + secondsText;
    return KeepTwoLargestUnits(text);
}

}  // namespace kyv
