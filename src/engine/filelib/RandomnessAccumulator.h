#pragma once
// Streaming half of the randomness measure: the counts of byte values, and the counts of steps within
// neighbouring pairs of bytes, gathered in one pass over data that may arrive in pieces.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace kyv::filelib {

class RandomnessAccumulator {
public:
    using Histogram = std::array<std::uint64_t, 256>;

    RandomnessAccumulator();
    RandomnessAccumulator(const RandomnessAccumulator&) = delete;
    RandomnessAccumulator& operator=(const RandomnessAccumulator&) = delete;
    ~RandomnessAccumulator();

    // Adds the next bytes of the data. Pairs are taken at even positions of the whole data, whatever
    // the sizes of the pieces.
    void Add(const unsigned char* bytes, std::size_t count);

    // Adds the counts of an accumulator that took another part of the same data, a part that began at
    // an even position and, unless it was the last part, had an even length.
    void Merge(const RandomnessAccumulator& other);

    [[nodiscard]] std::uint64_t ByteCount() const { return byteCount_; }
    [[nodiscard]] const Histogram& ByteValues() const;
    // Counts of (byte[2i+1] - byte[2i]) mod 256: one step per pair of bytes, ByteCount() / 2 in all.
    [[nodiscard]] const Histogram& Steps() const;

    // The measure of everything added so far, 0 to 1; 1 when nothing was added.
    [[nodiscard]] double Measure() const;

private:
    void AddPairsDirectly(const unsigned char* bytes, std::size_t pairs);
    void AddPairsToTable(const unsigned char* bytes, std::size_t pairs);
    void FoldPairTable() const;

    // Large pieces are counted per pair in a table of (first, second) counts, which costs one
    // increment per two bytes; the histograms are drawn from it when asked for.
    struct PairTable;
    mutable std::unique_ptr<PairTable> pairTable_;
    mutable Histogram byteValues_{};
    mutable Histogram steps_{};
    std::uint64_t byteCount_ = 0;
    unsigned char pendingByte_ = 0;  // first byte of a pair whose second has not arrived yet
};

}  // namespace kyv::filelib
