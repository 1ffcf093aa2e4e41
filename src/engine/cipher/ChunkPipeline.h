#pragma once
// Seals or opens the chunks of one file, in slabs of several chunks, on as many threads as the
// file's size makes worthwhile.
//
// Every chunk's place in the input and the output follows from its index, so each thread reads,
// processes and writes whole slabs with pread/pwrite at their own offsets; memory stays at two
// slab buffers per thread whatever the file's size. After the first failure no new slab starts,
// and the result names the earliest chunk that failed: every chunk before it has been written.

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace kyv::cipher {

struct ChunkJob {
    int inputFd = -1;
    int outputFd = -1;
    bool encrypt = true;
    std::uint64_t plaintextLength = 0;
    const unsigned char* fileKey = nullptr;
    const unsigned char* associatedData = nullptr;  // the file's header
    std::size_t associatedDataSize = 0;
    std::atomic<std::uint64_t>* progress = nullptr;  // input bytes consumed, added per slab
    unsigned maxThreads = 2;                         // the caller bounds it by the machine's cores
};

struct ChunkResult {
    enum class Failure { None, NoMemory, Read, InputChanged, Write, DiskFull, Authentication };
    Failure failure = Failure::None;
    std::uint64_t failedChunk = 0;  // valid when failure != None
};

inline constexpr std::size_t kChunksPerSlab = 16;

[[nodiscard]] ChunkResult RunChunkPipeline(const ChunkJob& job);

}  // namespace kyv::cipher
