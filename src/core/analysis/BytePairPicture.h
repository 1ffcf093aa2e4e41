#pragma once
// The picture of a file's byte pairs: a 256 x 256 square in which bytes 0 and 1, 2 and 3, ... each
// set one dot, the first byte giving the column and the second the row (from the top). The dots
// are kept as an 8-bit grey image (0 black, 255 white), row by row, so that a window or the
// command-line tool can show or save it as it stands.

#include <array>
#include <cstddef>

namespace kyv {

class BytePairPicture {
public:
    static constexpr int kSide = 256;
    static constexpr unsigned char kBlack = 0;
    static constexpr unsigned char kWhite = 255;

    BytePairPicture() { Clear(); }

    void Clear() { pixels_.fill(kBlack); }

    // Sets the dots of the pairs of `bytes`; a last odd byte is left out.
    void AddPairs(const unsigned char* bytes, std::size_t count);
    // Sets the dots the other picture has.
    void Merge(const BytePairPicture& other);

    [[nodiscard]] bool Dot(int column, int row) const { return pixels_[Index(column, row)] != kBlack; }
    [[nodiscard]] int DotCount() const;

    // kSide rows of kSide grey bytes.
    [[nodiscard]] const unsigned char* Pixels() const { return pixels_.data(); }

private:
    static constexpr std::size_t Index(int column, int row)
    {
        return static_cast<std::size_t>(row) * kSide + static_cast<std::size_t>(column);
    }

    std::array<unsigned char, std::size_t{kSide} * kSide> pixels_{};
};

}  // namespace kyv
