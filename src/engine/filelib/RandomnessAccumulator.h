#pragma once
// Streaming half of the randomness measure: the byte counts and the counts of steps between
// neighbouring bytes, gathered in one pass over data that may arrive in pieces.

#include <array>
#include <cstddef>
#include <cstdint>

namespace kyv::filelib {

class RandomnessAccumulator {
public:
    using Histogram = std::array<std::uint64_t, 256>;

    // Adds the next bytes of the data; the step from the last byte of the previous piece counts.
    void Add(const unsigned char* bytes, std::size_t count);

    [[nodiscard]] std::uint64_t ByteCount() const { return byteCount_; }
    [[nodiscard]] const Histogram& ByteValues() const { return byteValues_; }
    // Counts of (byte[i] - byte[i-1]) mod 256 over every neighbouring pair.
    [[nodiscard]] const Histogram& Steps() const { return steps_; }

    // The measure of everything added so far, 0 to 1; 1 when nothing was added.
    [[nodiscard]] double Measure() const;

private:
    void AddSmall(const unsigned char* bytes, std::size_t count);
    void AddLarge(const unsigned char* bytes, std::size_t count);

    Histogram byteValues_{};
    Histogram steps_{};
    std::uint64_t byteCount_ = 0;
    unsigned char previous_ = 0;
};

}  // namespace kyv::filelib
