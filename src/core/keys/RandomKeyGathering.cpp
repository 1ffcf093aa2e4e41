#include "core/keys/RandomKeyGathering.h"

#include <sodium.h>

#include <cmath>
#include <stdexcept>
#include <utility>

namespace kyv {

int HundredthsOfSecond(const QTime& timeOfDay)
{
    const auto seconds = static_cast<float>(timeOfDay.msecsSinceStartOfDay() / 1000.0);
    // The default rounding mode rounds half to even.
    return static_cast<int>(std::nearbyint((seconds - std::trunc(seconds)) * 100.0F));
}

unsigned char RandomKeyCharacter(std::int64_t x, std::int64_t y, int hundredths, std::uint32_t randomValue)
{
    const std::int64_t h = hundredths;
    // Positions of a pointer held down outside the window can be large or negative; the product
    // is reduced after each factor so that it never overflows.
    const std::int64_t a = (2 * h + y % kRandomKeyCodeCount) % kRandomKeyCodeCount;
    const std::int64_t b = (h + x % kRandomKeyCodeCount) % kRandomKeyCodeCount;
    std::int64_t product = (a * b) % kRandomKeyCodeCount;
    product = (product * ((h + 1) % kRandomKeyCodeCount)) % kRandomKeyCodeCount;
    if (product < 0) product += kRandomKeyCodeCount;
    const std::int64_t mixed = (product + randomValue % kRandomKeyCodeCount) % kRandomKeyCodeCount;
    return static_cast<unsigned char>(kRandomKeyLowestCode + mixed);
}

void RandomKeyGathering::Start()
{
    key_.Clear();
    progress_ = QString(kRandomKeyProgressUnderscores, QLatin1Char('_'));
    sampledX_ = currentX_;
    sampledY_ = currentY_;
    keyPending_ = false;
    pendingKey_ = 0;
}

void RandomKeyGathering::PointerMoved(std::int64_t x, std::int64_t y)
{
    currentX_ = x;
    currentY_ = y;
}

void RandomKeyGathering::KeyPressed(int keyCode)
{
    keyPending_ = true;
    pendingKey_ = keyCode;
}

bool RandomKeyGathering::Sample(const QTime& timeOfDay)
{
    if (Complete()) return false;
    const bool moved = currentX_ != sampledX_ || currentY_ != sampledY_;
    if (!moved && !keyPending_) return false;
    static const bool kInitialised = sodium_init() >= 0;
    if (!kInitialised) throw std::runtime_error("libsodium's random source is not available");
    const std::uint32_t randomValue = randombytes_uniform(kRandomKeyCodeCount);
    const std::int64_t keyOffset = keyPending_ ? pendingKey_ % kRandomKeyCodeCount : 0;
    key_.Append(
        RandomKeyCharacter(currentX_ + keyOffset, currentY_, HundredthsOfSecond(timeOfDay), randomValue));
    sampledX_ = currentX_;
    sampledY_ = currentY_;
    keyPending_ = false;
    pendingKey_ = 0;
    const auto number = static_cast<qsizetype>(key_.size());
    if (number <= progress_.size()) {
        progress_[number - 1] = QChar(kProgressBlock);
    } else {
        progress_.append(QChar(kProgressBlock));
    }
    return true;
}

SecureBytes RandomKeyGathering::TakeKey() { return std::exchange(key_, SecureBytes()); }

}  // namespace kyv
