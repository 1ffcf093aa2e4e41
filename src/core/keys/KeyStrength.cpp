#include "core/keys/KeyStrength.h"

#include <sodium.h>
#include <zxcvbn.h>

#include <algorithm>
#include <cmath>

#include "core/keys/KeyNormalization.h"

namespace kyv {

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kSecondsPerYear = 365.25 * kSecondsPerDay;
constexpr double kArgonBlockBytes = 1024.0;
// Upper limits of the levels below VeryStrong, as seconds of one GPU, and VeryStrong's bits.
constexpr double kVeryWeakSeconds = kSecondsPerDay;
constexpr double kWeakSeconds = 1e3 * kSecondsPerYear;
constexpr double kFairSeconds = 1e9 * kSecondsPerYear;
constexpr double kVeryStrongBits = 128.0;

// libzxcvbn leaves pieces of the text in its stack frames (runs of the key's digits, for one);
// its heap blocks hold only the matches' positions, lengths and entropies, and it frees them all
// before it returns. Measured with every free checked for four bytes of the key:
// none held any, and the deepest call used under 4 KiB of stack. The frames lie below the
// caller's, where this wipes sixteen times that.
constexpr std::size_t kWipedStackBytes = 64 * 1024;

[[gnu::noinline]] void WipeStackBelowCaller()
{
    unsigned char area[kWipedStackBytes];
    sodium_memzero(area, sizeof area);
}

// log2 of the guesses libzxcvbn expects for the normalised key; wipes its copies.
double EstimatedBits(std::span<const unsigned char> normalized)
{
    SecureBytes text(normalized);
    text.Append(0);
    // No user words and no match list: the library returns nothing that would need freeing.
    const double bits = ZxcvbnMatch(reinterpret_cast<const char*>(text.data()), nullptr, nullptr);
    WipeStackBelowCaller();
    return bits;
}

KeyStrength OfBits(KeyStrengthBasis basis, double bits)
{
    KeyStrength strength;
    strength.basis = basis;
    strength.bits = std::clamp(bits, 0.0, kMostKeyBits);
    strength.level = LevelOfBits(strength.bits);
    return strength;
}

}  // namespace

double KeyStrength::SecondsForOneGpu() const { return std::exp2(bits) / kGuessesPerSecondPerGpu; }

double ArgonTrafficPerGuess(int passes, int memoryLog2)
{
    const double blocks = std::exp2(memoryLog2) / kArgonBlockBytes;
    return blocks * 2 * kArgonBlockBytes + (passes - 1) * blocks * 3 * kArgonBlockBytes;
}

KeyStrengthLevel LevelOfBits(double bits)
{
    if (bits >= kVeryStrongBits) return KeyStrengthLevel::VeryStrong;
    const double seconds = std::exp2(bits) / kGuessesPerSecondPerGpu;
    if (seconds < kVeryWeakSeconds) return KeyStrengthLevel::VeryWeak;
    if (seconds < kWeakSeconds) return KeyStrengthLevel::Weak;
    if (seconds < kFairSeconds) return KeyStrengthLevel::Fair;
    return KeyStrengthLevel::Strong;
}

KeyStrength TypedKeyStrength(std::span<const unsigned char> text)
{
    const SecureBytes normalized = NormalizedKeyText(text);
    return OfBits(KeyStrengthBasis::Estimated, normalized.empty() ? 0.0 : EstimatedBits(normalized.View()));
}

KeyStrength KeyfileStrength(bool random)
{
    if (random) return OfBits(KeyStrengthBasis::RandomKey, kMostKeyBits);
    KeyStrength strength;
    strength.basis = KeyStrengthBasis::SecretFile;
    return strength;
}

KeyStrength InspectedKeyStrength(const KeyState& keyState, bool typed)
{
    if (typed) return TypedKeyStrength(keyState.rawKeyBytes.View());
    return KeyfileStrength(keyState.apparentlyRandom || keyState.newRandomKey);
}

std::optional<KeyStrength> InstalledKeyStrength(const KeyState& keyState)
{
    switch (keyState.source) {
        case KeyboardEntry:
            return TypedKeyStrength(keyState.normalizedKey.View());
        case Keyfile:
            return KeyfileStrength(keyState.apparentlyRandom || keyState.newRandomKey);
        case NotSpecified:
            break;
    }
    return std::nullopt;
}

}  // namespace kyv
