#include "core/keys/KeyStrengthText.h"

#include <array>
#include <cmath>

namespace kyv {

namespace {

struct DurationUnit {
    double seconds;
    const char* one;
    const char* many;
};

constexpr double kYear = 365.25 * 86400.0;
// Each unit is used from one of it up to the next unit; beyond the last, the universe's age
// (about 14 thousand million years) is far exceeded.
constexpr std::array<DurationUnit, 10> kUnits{{
    {1.0, "second", "seconds"},
    {60.0, "minute", "minutes"},
    {3600.0, "hour", "hours"},
    {86400.0, "day", "days"},
    {kYear / 12, "month", "months"},
    {kYear, "year", "years"},
    {1e3 * kYear, "thousand years", "thousand years"},
    {1e6 * kYear, "million years", "million years"},
    {1e9 * kYear, "thousand million years", "thousand million years"},
    {1e12 * kYear, "", ""},
}};

}  // namespace

QString KeyStrengthWord(KeyStrengthLevel level)
{
    switch (level) {
        case KeyStrengthLevel::VeryWeak:
            return QStringLiteral("very weak");
        case KeyStrengthLevel::Weak:
            return QStringLiteral("weak");
        case KeyStrengthLevel::Fair:
            return QStringLiteral("fair");
        case KeyStrengthLevel::Strong:
            return QStringLiteral("strong");
        case KeyStrengthLevel::VeryStrong:
            break;
    }
    return QStringLiteral("very strong");
}

QString PlainDuration(double seconds)
{
    if (!(seconds >= 1.0)) return QStringLiteral("less than a second");
    for (std::size_t index = 0; index + 1 < kUnits.size(); ++index) {
        const DurationUnit& unit = kUnits[index];
        const double count = std::round(seconds / unit.seconds);
        // 59.7 seconds is "about 1 minute", not "about 60 seconds".
        if (count * unit.seconds >= kUnits[index + 1].seconds) continue;
        return QStringLiteral("about %1 %2")
            .arg(static_cast<long long>(count))
            .arg(QLatin1String(count == 1 ? unit.one : unit.many));
    }
    return QStringLiteral("far longer than the age of the universe");
}

QString KeyStrengthLine(const KeyStrength& strength)
{
    switch (strength.basis) {
        case KeyStrengthBasis::RandomKey:
            return QStringLiteral("Strength: %1, a random key of %2 bits.")
                .arg(KeyStrengthWord(strength.level))
                .arg(static_cast<int>(strength.bits));
        case KeyStrengthBasis::SecretFile:
            return QStringLiteral("Strength: as strong as the keyfile is secret; its bytes are not random.");
        case KeyStrengthBasis::Estimated:
            break;
    }
    return QStringLiteral("Strength: %1, one GPU needs %2 to guess it.")
        .arg(KeyStrengthWord(strength.level), PlainDuration(strength.SecondsForOneGpu()));
}

}  // namespace kyv
