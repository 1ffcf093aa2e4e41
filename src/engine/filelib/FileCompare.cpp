#include "engine/filelib/FileCompare.h"

#include "engine/filelib/RegularFileReader.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace kyv::filelib {
namespace {

constexpr std::int64_t kCompareBlock = std::int64_t{1} << 18;

}  // namespace

FileComparison CompareFiles(const std::filesystem::path& first, const std::filesystem::path& second)
{
    RegularFileReader firstReader;
    if (firstReader.Open(first) != RegularFileReader::OpenResult::Opened) {
        return {CompareError::FirstCannotBeOpened, {}};
    }
    RegularFileReader secondReader;
    if (secondReader.Open(second) != RegularFileReader::OpenResult::Opened) {
        return {CompareError::SecondCannotBeOpened, {}};
    }
    if (firstReader.Size() == 0) {
        return {CompareError::FirstEmpty, {}};
    }
    if (secondReader.Size() == 0) {
        return {CompareError::SecondEmpty, {}};
    }
    // Files of different length differ at the first byte past the shorter one, unless sooner.
    const std::int64_t common = std::min(firstReader.Size(), secondReader.Size());
    // Two blocks of a quarter MiB stay in the processor's cache between the read and the comparison.
    const auto blockSize = static_cast<std::size_t>(std::min<std::int64_t>(common, kCompareBlock));
    const auto firstBlock = std::make_unique_for_overwrite<unsigned char[]>(blockSize);
    const auto secondBlock = std::make_unique_for_overwrite<unsigned char[]>(blockSize);
    std::int64_t position = 0;
    while (position < common) {
        const auto part = static_cast<std::size_t>(std::min<std::int64_t>(common - position, blockSize));
        if (!firstReader.ReadExactly(firstBlock.get(), part)) {
            return {CompareError::FirstCannotBeRead, {}};
        }
        if (!secondReader.ReadExactly(secondBlock.get(), part)) {
            return {CompareError::SecondCannotBeRead, {}};
        }
        // memcmp is the fast test; the byte loop only runs on the one block that differs.
        if (std::memcmp(firstBlock.get(), secondBlock.get(), part) != 0) {
            const auto mismatch = std::mismatch(firstBlock.get(), firstBlock.get() + part, secondBlock.get());
            return {{}, position + (mismatch.first - firstBlock.get())};
        }
        position += static_cast<std::int64_t>(part);
    }
    if (firstReader.Size() == secondReader.Size()) {
        return {};
    }
    return {{}, common};
}

}  // namespace kyv::filelib
