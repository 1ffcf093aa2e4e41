// The length check that tells, without the key, a file of whole chunks from one cut short or
// lengthened: exactly the sizes encryption makes have a plaintext length.

#include "CipherTestSupport.h"
#include "engine/cipher/FileFormat.h"

namespace kyv::cipher::test {
namespace {

using format::kChunkSize;
using format::kHeaderSize;
using format::kSealedChunkSize;

TEST(PlaintextLengthFor, AnswersExactlyTheSizesOfWholeFiles)
{
    int complete = 0;
    for (const std::uint64_t length :
         {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{kChunkSize - 1}, std::uint64_t{kChunkSize},
          std::uint64_t{kChunkSize + 1}, std::uint64_t{5 * kChunkSize}, std::uint64_t{5 * kChunkSize + 7}}) {
        const std::uint64_t size = format::EncryptedSize(length);
        EXPECT_EQ(format::PlaintextLengthFor(size), length) << length;
        // One byte short of a full file, or a tag's worth more, is no whole file.
        EXPECT_NE(format::PlaintextLengthFor(size - 1), length) << length;
        ++complete;
    }
    EXPECT_EQ(complete, 7);
    for (const std::uint64_t size :
         {std::uint64_t{0}, std::uint64_t{kHeaderSize}, std::uint64_t{kHeaderSize + 15},
          std::uint64_t{kHeaderSize + kSealedChunkSize + format::kTagSize}})
        EXPECT_EQ(format::PlaintextLengthFor(size), std::nullopt) << size;
}

}  // namespace
}  // namespace kyv::cipher::test
