#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

namespace kyv {

// The locale-independent number-to-text form used inside messages: "." as decimal point, up to
// 15 significant digits, and a leading space in front of a non-negative number (" 12", "-5",
// " 9.3603515625").
QString NumberToText(double value);
QString NumberToText(std::int64_t value);
inline QString NumberToText(int value) { return NumberToText(static_cast<std::int64_t>(value)); }

// The user's number and date format: the default locale (the system's unless a test set one),
// with the plain "C" locale replaced by US English so that thousands are still grouped.
QLocale UserLocale();

// A count in the user's number format with thousands separators and no decimals ("1,234,567").
QString GroupedNumber(std::int64_t value);
// A real in the user's number format with thousands separators and `decimals` decimals.
QString GroupedNumber(double value, int decimals);

}  // namespace kyv
