#include "engine/filelib/FileOverwriter.h"

#include <sodium.h>

#include <unistd.h>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

namespace kyv::filelib {
namespace {

constexpr std::int64_t kOverwriteBlock = std::int64_t{1} << 20;

bool WriteFully(int descriptor, const unsigned char* bytes, std::size_t count, off_t offset)
{
    while (count > 0) {
        const ssize_t written = ::pwrite(descriptor, bytes, count, offset);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (written == 0) {
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
        offset += written;
    }
    return true;
}

}  // namespace

bool OverwriteOpenFile(int descriptor, std::int64_t length, bool randomPass)
{
    if (length <= 0) {
        return ::fdatasync(descriptor) == 0;
    }
    if (randomPass && ::sodium_init() < 0) {
        return false;
    }
    const auto blockSize = static_cast<std::size_t>(std::min(length, kOverwriteBlock));
    const auto block = std::make_unique<unsigned char[]>(blockSize);
    // One seed per pass; each block's stream starts from the seed with the block number written in.
    std::array<unsigned char, randombytes_SEEDBYTES> seed{};
    if (randomPass) {
        randombytes_buf(seed.data(), seed.size());
    }
    bool complete = true;
    std::uint64_t blockNumber = 0;
    for (std::int64_t offset = 0; offset < length; offset += kOverwriteBlock, ++blockNumber) {
        const auto part = static_cast<std::size_t>(std::min(length - offset, kOverwriteBlock));
        if (randomPass) {
            std::memcpy(seed.data(), &blockNumber, sizeof blockNumber);
            randombytes_buf_deterministic(block.get(), part, seed.data());
        }
        if (!WriteFully(descriptor, block.get(), part, static_cast<off_t>(offset))) {
            complete = false;
            break;
        }
    }
    sodium_memzero(seed.data(), seed.size());
    return ::fdatasync(descriptor) == 0 && complete;
}

}  // namespace kyv::filelib
