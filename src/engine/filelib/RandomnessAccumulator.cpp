#include "engine/filelib/RandomnessAccumulator.h"

#include "engine/filelib/RandomnessScore.h"

#include <sodium.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace kyv::filelib {
namespace {

// Pieces of at least this many pairs go through the pair table; clearing and folding its 128 Ki
// counters costs less than counting them directly only from here on.
constexpr std::size_t kTablePairs = std::size_t{1} << 15;

// Counts added to the table before it is folded, so that no 32-bit counter can overflow.
constexpr std::uint64_t kFoldAfterPairs = std::uint64_t{1} << 31;

}  // namespace

// Two tables, filled alternately, so that runs of one repeated pair do not wait on one counter.
struct RandomnessAccumulator::PairTable {
    std::uint32_t counts[2][65536];
    std::uint64_t pairs;
};

RandomnessAccumulator::RandomnessAccumulator() = default;
// The counts of a key's bytes say which bytes it holds: they go with the accumulator.
RandomnessAccumulator::~RandomnessAccumulator()
{
    sodium_memzero(byteValues_.data(), sizeof byteValues_);
    sodium_memzero(steps_.data(), sizeof steps_);
    sodium_memzero(&pendingByte_, sizeof pendingByte_);
    if (pairTable_) {
        sodium_memzero(pairTable_.get(), sizeof(PairTable));
    }
}

void RandomnessAccumulator::Add(const unsigned char* bytes, std::size_t count)
{
    if (count == 0) {
        return;
    }
    if (byteCount_ % 2 == 1) {
        // The first byte of this pair was counted when it came.
        ++byteValues_[bytes[0]];
        ++steps_[static_cast<unsigned char>(bytes[0] - pendingByte_)];
        ++byteCount_;
        ++bytes;
        --count;
    }
    const std::size_t pairs = count / 2;
    if (pairs >= kTablePairs) {
        AddPairsToTable(bytes, pairs);
    } else {
        AddPairsDirectly(bytes, pairs);
    }
    byteCount_ += 2 * pairs;
    if (count % 2 == 1) {
        pendingByte_ = bytes[count - 1];
        ++byteValues_[pendingByte_];
        ++byteCount_;
    }
}

void RandomnessAccumulator::Merge(const RandomnessAccumulator& other)
{
    const Histogram& otherValues = other.ByteValues();
    const Histogram& otherSteps = other.Steps();
    FoldPairTable();
    for (std::size_t v = 0; v < byteValues_.size(); ++v) {
        byteValues_[v] += otherValues[v];
        steps_[v] += otherSteps[v];
    }
    byteCount_ += other.byteCount_;
}

void RandomnessAccumulator::AddPairsDirectly(const unsigned char* bytes, std::size_t pairs)
{
    for (std::size_t i = 0; i < pairs; ++i) {
        const unsigned char first = bytes[2 * i];
        const unsigned char second = bytes[2 * i + 1];
        ++byteValues_[first];
        ++byteValues_[second];
        ++steps_[static_cast<unsigned char>(second - first)];
    }
}

void RandomnessAccumulator::AddPairsToTable(const unsigned char* bytes, std::size_t pairs)
{
    if (!pairTable_) {
        pairTable_ = std::make_unique<PairTable>();
        std::memset(pairTable_->counts, 0, sizeof pairTable_->counts);
        pairTable_->pairs = 0;
    }
    while (pairs > 0) {
        if (pairTable_->pairs >= kFoldAfterPairs) {
            FoldPairTable();
        }
        const std::size_t part = static_cast<std::size_t>(std::min<std::uint64_t>(pairs, kFoldAfterPairs));
        std::uint32_t* const even = pairTable_->counts[0];
        std::uint32_t* const odd = pairTable_->counts[1];
        std::size_t i = 0;
        if constexpr (std::endian::native == std::endian::little) {
            // Four pairs per 64-bit load; each 16-bit lane is first + 256 * second.
            for (; i + 4 <= part; i += 4) {
                std::uint64_t word = 0;
                std::memcpy(&word, bytes + 2 * i, sizeof word);
                ++even[word & 0xFFFF];
                ++odd[(word >> 16) & 0xFFFF];
                ++even[(word >> 32) & 0xFFFF];
                ++odd[word >> 48];
            }
        }
        for (; i < part; ++i) {
            ++even[bytes[2 * i] + 256U * bytes[2 * i + 1]];
        }
        pairTable_->pairs += part;
        bytes += 2 * part;
        pairs -= part;
    }
}

void RandomnessAccumulator::FoldPairTable() const
{
    if (!pairTable_ || pairTable_->pairs == 0) {
        return;
    }
    for (unsigned index = 0; index < 65536; ++index) {
        const std::uint64_t count =
            std::uint64_t{pairTable_->counts[0][index]} + pairTable_->counts[1][index];
        if (count == 0) {
            continue;
        }
        const unsigned first = index & 0xFF;
        const unsigned second = index >> 8;
        byteValues_[first] += count;
        byteValues_[second] += count;
        steps_[(second - first) & 0xFF] += count;
    }
    std::memset(pairTable_->counts, 0, sizeof pairTable_->counts);
    pairTable_->pairs = 0;
}

const RandomnessAccumulator::Histogram& RandomnessAccumulator::ByteValues() const
{
    FoldPairTable();
    return byteValues_;
}

const RandomnessAccumulator::Histogram& RandomnessAccumulator::Steps() const
{
    FoldPairTable();
    return steps_;
}

double RandomnessAccumulator::Measure() const
{
    if (byteCount_ == 0) {
        return 1.0;
    }
    const double byteShortfall = EntropyShortfall(ByteValues(), byteCount_);
    const double stepShortfall = EntropyShortfall(Steps(), byteCount_ / 2);
    return ScoreFromShortfalls(byteShortfall, stepShortfall);
}

}  // namespace kyv::filelib
