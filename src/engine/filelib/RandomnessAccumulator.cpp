#include "engine/filelib/RandomnessAccumulator.h"

#include "engine/filelib/RandomnessScore.h"

namespace kyv::filelib {
namespace {

// Below this many bytes the counting goes straight into the totals; above it, into split counters.
constexpr std::size_t kLargePiece = 4096;

// Pieces larger than this are counted in parts so that 32-bit counters cannot overflow.
constexpr std::size_t kMaxCountedPart = std::size_t{1} << 30;

}  // namespace

void RandomnessAccumulator::Add(const unsigned char* bytes, std::size_t count)
{
    while (count > 0) {
        const std::size_t part = count < kMaxCountedPart ? count : kMaxCountedPart;
        if (part < kLargePiece) {
            AddSmall(bytes, part);
        } else {
            AddLarge(bytes, part);
        }
        bytes += part;
        count -= part;
    }
}

void RandomnessAccumulator::AddSmall(const unsigned char* bytes, std::size_t count)
{
    std::size_t i = 0;
    if (byteCount_ == 0) {
        ++byteValues_[bytes[0]];
        previous_ = bytes[0];
        i = 1;
    }
    unsigned char previous = previous_;
    for (; i < count; ++i) {
        const unsigned char current = bytes[i];
        ++byteValues_[current];
        ++steps_[static_cast<unsigned char>(current - previous)];
        previous = current;
    }
    previous_ = previous;
    byteCount_ += count;
}

void RandomnessAccumulator::AddLarge(const unsigned char* bytes, std::size_t count)
{
    // Four sets of counters, one per byte lane, so that runs of equal bytes do not stall on one
    // counter; folded into the totals at the end.
    std::uint32_t values[4][256] = {};
    std::uint32_t steps[4][256] = {};
    std::size_t i = 0;
    if (byteCount_ == 0) {
        ++values[0][bytes[0]];
        previous_ = bytes[0];
        i = 1;
    }
    unsigned char previous = previous_;
    for (; i + 4 <= count; i += 4) {
        const unsigned char b0 = bytes[i];
        const unsigned char b1 = bytes[i + 1];
        const unsigned char b2 = bytes[i + 2];
        const unsigned char b3 = bytes[i + 3];
        ++values[0][b0];
        ++values[1][b1];
        ++values[2][b2];
        ++values[3][b3];
        ++steps[0][static_cast<unsigned char>(b0 - previous)];
        ++steps[1][static_cast<unsigned char>(b1 - b0)];
        ++steps[2][static_cast<unsigned char>(b2 - b1)];
        ++steps[3][static_cast<unsigned char>(b3 - b2)];
        previous = b3;
    }
    for (; i < count; ++i) {
        const unsigned char current = bytes[i];
        ++values[0][current];
        ++steps[0][static_cast<unsigned char>(current - previous)];
        previous = current;
    }
    previous_ = previous;
    byteCount_ += count;
    for (int v = 0; v < 256; ++v) {
        byteValues_[v] += std::uint64_t{values[0][v]} + values[1][v] + values[2][v] + values[3][v];
        steps_[v] += std::uint64_t{steps[0][v]} + steps[1][v] + steps[2][v] + steps[3][v];
    }
}

double RandomnessAccumulator::Measure() const
{
    if (byteCount_ == 0) {
        return 1.0;
    }
    const double byteShortfall = EntropyShortfall(byteValues_, byteCount_);
    const double stepShortfall = EntropyShortfall(steps_, byteCount_ - 1);
    return ScoreFromShortfalls(byteShortfall, stepShortfall);
}

}  // namespace kyv::filelib
