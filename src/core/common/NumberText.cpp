#include "core/common/NumberText.h"

#include <QLocale>
#include <cmath>

namespace kyv {

QString NumberToText(double value)
{
    QString text = QString::number(value, 'g', 15);
    if (text.contains(QLatin1Char('e'))) {
        // Keep plain digits for the magnitudes the program shows (sizes, free space).
        text = QString::number(value, 'f', 0);
        if (std::fabs(value) < 1.0) text = QString::number(value, 'g', 15);
    }
    return value >= 0 ? QLatin1Char(' ') + text : text;
}

QString NumberToText(std::int64_t value)
{
    const QString text = QString::number(value);
    return value >= 0 ? QLatin1Char(' ') + text : text;
}

QLocale UserLocale()
{
    const QLocale locale;
    if (locale.language() != QLocale::C) return locale;
    static const QLocale kUnitedStates(QLocale::English, QLocale::UnitedStates);
    return kUnitedStates;
}

QString GroupedNumber(std::int64_t value) { return UserLocale().toString(static_cast<qlonglong>(value)); }

QString GroupedNumber(double value, int decimals) { return UserLocale().toString(value, 'f', decimals); }

}  // namespace kyv
