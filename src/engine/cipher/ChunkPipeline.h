#pragma once
// Seals or opens the chunks of one file, in slabs of several chunks, on as many threads as the
// file's size makes worthwhile.
//
// Every chunk's place in the input and the output follows from its index, so each thread reads,
// processes and writes whole slabs with preadv/pwritev at their own offsets. A slab lives in one
// buffer in its sealed layout and is sealed or opened in place: the input is read straight to
// where the output is written from, with no copy between the two. Memory stays at one slab
// buffer per thread whatever the file's size. After the first failure no new slab starts, and
// the result names the earliest chunk that failed: every chunk before it has been written.

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace kyv::cipher {

class ChaChaPoly;

struct ChunkJob {
    int inputFd = -1;
    int outputFd = -1;
    // Encryption also writes the header (associatedData) at the start of the output, in the same
    // system call as the first slab, and checks that the input ends where its length says.
    bool encrypt = true;
    // Decryption that writes nothing: the tags are checked and the ciphertext is not deciphered.
    bool authenticateOnly = false;
    // With authenticateOnly: the input opened with O_DIRECT, so that what is checked is what the
    // device holds and it is read at the device's speed; -1 reads inputFd through the cache.
    int directInputFd = -1;
    std::uint64_t plaintextLength = 0;
    const unsigned char* fileKey = nullptr;
    const unsigned char* associatedData = nullptr;  // the file's header
    std::size_t associatedDataSize = 0;
    // The calling thread's cipher, already keyed with fileKey for this direction, or null; other
    // threads set up their own.
    ChaChaPoly* cipher = nullptr;
    std::atomic<std::uint64_t>* progress = nullptr;  // input bytes consumed, added per slab
    unsigned maxThreads = 2;                         // the caller bounds it by the machine's cores
};

struct ChunkResult {
    enum class Failure { None, NoMemory, Read, InputChanged, Write, DiskFull, Authentication };
    Failure failure = Failure::None;
    std::uint64_t failedChunk = 0;  // valid when failure != None
};

inline constexpr std::size_t kChunksPerSlab = 16;
// A check writes nothing, so its slabs can be larger: fewer, longer reads from the device.
inline constexpr std::size_t kChunksPerCheckedSlab = 64;

[[nodiscard]] ChunkResult RunChunkPipeline(const ChunkJob& job);

}  // namespace kyv::cipher
