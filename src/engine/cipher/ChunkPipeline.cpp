#include "engine/cipher/ChunkPipeline.h"

#include <sodium.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/cipher/ChaChaPoly.h"
#include "engine/cipher/FileFormat.h"

namespace kyv::cipher {

namespace {

using format::kChunkSize;
using format::kHeaderSize;
using format::kSealedChunkSize;
using format::kTagSize;

// At most one entry per chunk of a slab, and one for the header.
constexpr int kMaxEntries = static_cast<int>(kChunksPerSlab) + 1;

struct Entries {
    iovec entry[kMaxEntries];
    int count = 0;
    void Add(unsigned char* base, std::size_t size)
    {
        if (size > 0) {
            entry[count++] = iovec{base, size};
        }
    }
};

// Moves past `done` bytes of the entries.
void Advance(Entries& entries, int& first, std::size_t done)
{
    while (done > 0 && first < entries.count) {
        iovec& current = entries.entry[first];
        const std::size_t step = std::min(done, current.iov_len);
        current.iov_base = static_cast<unsigned char*>(current.iov_base) + step;
        current.iov_len -= step;
        done -= step;
        if (current.iov_len == 0) {
            ++first;
        }
    }
}

// Reads into every entry in turn; returns the number of bytes read (fewer at end of file) or -1.
// A read that comes back short with `expected` bytes in has met the end of the file, which is all
// a caller asking for one byte more wants to know: no further call is made to learn it.
ssize_t ReadFully(int fd, Entries& entries, std::uint64_t offset, std::size_t expected)
{
    std::size_t wanted = 0;
    for (int i = 0; i < entries.count; ++i) {
        wanted += entries.entry[i].iov_len;
    }
    std::size_t total = 0;
    int first = 0;
    while (first < entries.count) {
        const ssize_t got =
            ::preadv(fd, entries.entry + first, entries.count - first, static_cast<off_t>(offset + total));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        const bool shortRead = static_cast<std::size_t>(got) < wanted - total;
        total += static_cast<std::size_t>(got);
        if (shortRead && total == expected) {
            break;
        }
        Advance(entries, first, static_cast<std::size_t>(got));
    }
    return static_cast<ssize_t>(total);
}

// Reads that bypass the cache start, end and land on multiples of this (the largest logical block
// size of common devices).
constexpr std::size_t kDirectAlignment = 4096;

std::uint64_t AlignDown(std::uint64_t value) { return value - value % kDirectAlignment; }

// Reads `size` bytes (a multiple of kDirectAlignment) at the aligned `offset` of a file opened
// with O_DIRECT into the aligned `buffer`; returns the bytes read, fewer at the end of the file, or
// -1. Stops once `needed` bytes are in.
ssize_t ReadDirect(int fd, unsigned char* buffer, std::size_t size, std::uint64_t offset, std::size_t needed)
{
    std::size_t total = 0;
    while (total < needed) {
        const ssize_t got = ::pread(fd, buffer + total, size - total, static_cast<off_t>(offset + total));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        total += static_cast<std::size_t>(got);
        // Nothing, or a piece that is not whole blocks: the end of the file.
        if (got == 0 || total % kDirectAlignment != 0) {
            break;
        }
    }
    return static_cast<ssize_t>(total);
}

// Writes every entry in turn; 0 or the errno of the failed write.
int WriteFully(int fd, Entries& entries, std::uint64_t offset)
{
    std::size_t total = 0;
    int first = 0;
    while (first < entries.count) {
        const ssize_t put =
            ::pwritev(fd, entries.entry + first, entries.count - first, static_cast<off_t>(offset + total));
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (put == 0) {
            return ENOSPC;
        }
        total += static_cast<std::size_t>(put);
        Advance(entries, first, static_cast<std::size_t>(put));
    }
    return 0;
}

class Pipeline {
public:
    explicit Pipeline(const ChunkJob& job)
        : job_(job),
          chunkCount_(format::ChunkCount(job.plaintextLength)),
          slabChunks_(job.authenticateOnly ? kChunksPerCheckedSlab : kChunksPerSlab),
          slabCount_((chunkCount_ + slabChunks_ - 1) / slabChunks_)
    {
    }

    ChunkResult Run()
    {
        const auto wanted =
            static_cast<unsigned>(std::min<std::uint64_t>(std::max(job_.maxThreads, 1u), slabCount_));
        // Buffers and cipher contexts are had before any thread starts, so that no thread can fail
        // for memory.
        std::vector<Slab> slabs;
        try {
            slabs.reserve(wanted);
            for (unsigned i = 0; i < wanted; ++i) {
                Slab made(BufferSize(), i == 0 ? job_.cipher : nullptr, job_.fileKey, Direction());
                if (!made.cipher->Valid()) {
                    throw std::bad_alloc();
                }
                slabs.push_back(std::move(made));
            }
        } catch (const std::bad_alloc&) {
            if (slabs.empty()) {
                return ChunkResult{ChunkResult::Failure::NoMemory, 0};
            }
        }
        std::vector<std::thread> helpers;
        for (std::size_t i = 1; i < slabs.size(); ++i) {
            try {
                helpers.emplace_back([this, &slabs, i] { Work(slabs[i]); });
            } catch (const std::system_error&) {
                break;  // fewer threads only make it slower
            }
        }
        Work(slabs[0]);
        for (auto& helper : helpers) {
            helper.join();
        }
        return result_;
    }

private:
    [[nodiscard]] std::size_t PlainSize(std::uint64_t chunk) const
    {
        if (chunk + 1 < chunkCount_) {
            return kChunkSize;
        }
        return static_cast<std::size_t>(job_.plaintextLength - (chunkCount_ - 1) * kChunkSize);
    }

    void Fail(ChunkResult::Failure failure, std::uint64_t chunk)
    {
        std::lock_guard lock(mutex_);
        if (result_.failure == ChunkResult::Failure::None || chunk < result_.failedChunk) {
            result_ = ChunkResult{failure, chunk};
        }
        stop_.store(true, std::memory_order_relaxed);
    }

    // One thread's buffer, in the sealed layout of a slab, and its cipher.
    struct Slab {
        Slab(std::size_t bufferSize, ChaChaPoly* callers, const unsigned char* key,
             ChaChaPoly::Direction direction)
            : size(bufferSize), data(std::make_unique_for_overwrite<unsigned char[]>(bufferSize))
        {
            void* start = data.get();
            std::size_t space = size;
            base = static_cast<unsigned char*>(std::align(kDirectAlignment, 1, start, space));
            if (callers == nullptr) {
                own = std::make_unique<ChaChaPoly>(key, direction);
                callers = own.get();
            }
            cipher = callers;
        }
        ~Slab()
        {
            // Plaintext passed through it; leave none of it in freed memory.
            if (data) {
                sodium_memzero(data.get(), size);
            }
        }
        Slab(Slab&&) = default;
        std::size_t size;
        std::unique_ptr<unsigned char[]> data;
        std::unique_ptr<ChaChaPoly> own;
        ChaChaPoly* cipher = nullptr;
        unsigned char* base = nullptr;  // the first aligned byte of data
    };

    [[nodiscard]] ChaChaPoly::Direction Direction() const
    {
        if (job_.encrypt) {
            return ChaChaPoly::Direction::Seal;
        }
        return job_.authenticateOnly ? ChaChaPoly::Direction::Check : ChaChaPoly::Direction::Open;
    }

    // Large enough for one slab, and no larger than this file needs, so that small files stay cheap.
    [[nodiscard]] std::size_t BufferSize() const
    {
        const std::uint64_t chunks = std::min<std::uint64_t>(slabChunks_, chunkCount_);
        const auto size = static_cast<std::size_t>(
            std::min<std::uint64_t>(chunks * kSealedChunkSize, job_.plaintextLength + chunks * kTagSize));
        // Direct reads start before the slab and end after it, at block bounds, into an aligned place.
        return job_.directInputFd >= 0 ? size + 3 * kDirectAlignment : size;
    }

    void Work(Slab& slab)
    {
        while (!stop_.load(std::memory_order_relaxed)) {
            const std::uint64_t index = nextSlab_.fetch_add(1, std::memory_order_relaxed);
            if (index >= slabCount_) {
                break;
            }
            if (job_.encrypt) {
                SealSlab(index, slab.data.get(), *slab.cipher);
            } else {
                OpenSlab(index, slab, *slab.cipher);
            }
        }
    }

    // Chunk k of the slab starts at k * kSealedChunkSize in the buffer, in both directions.
    void SealSlab(std::uint64_t slab, unsigned char* buffer, ChaChaPoly& cipher)
    {
        const std::uint64_t first = slab * slabChunks_;
        const std::uint64_t last = std::min(first + slabChunks_, chunkCount_);  // exclusive
        // Each chunk's plaintext is read to where its ciphertext goes, leaving room for its tag.
        // The last slab asks for one byte more, into that room: a file that grew since its length
        // was taken gives it, and would otherwise lose its tail.
        Entries reads;
        std::size_t plainBytes = 0;
        for (std::uint64_t chunk = first; chunk < last; ++chunk) {
            const std::size_t plain = PlainSize(chunk);
            reads.Add(buffer + (chunk - first) * kSealedChunkSize,
                      plain + (chunk + 1 == chunkCount_ ? 1 : 0));
            plainBytes += plain;
        }
        const ssize_t got = ReadFully(job_.inputFd, reads, first * kChunkSize, plainBytes);
        if (got < 0) {
            Fail(ChunkResult::Failure::Read, first);
            return;
        }
        if (static_cast<std::size_t>(got) != plainBytes) {
            Fail(ChunkResult::Failure::InputChanged, first);
            return;
        }
        for (std::uint64_t chunk = first; chunk < last; ++chunk) {
            unsigned char* place = buffer + (chunk - first) * kSealedChunkSize;
            if (!cipher.Seal(place, place, PlainSize(chunk), job_.associatedData, job_.associatedDataSize,
                             format::ChunkNonce(chunk, chunk + 1 == chunkCount_))) {
                Fail(ChunkResult::Failure::NoMemory, chunk);
                return;
            }
        }
        Entries writes;
        if (slab == 0) {
            writes.Add(const_cast<unsigned char*>(job_.associatedData), job_.associatedDataSize);
        }
        writes.Add(buffer, plainBytes + static_cast<std::size_t>(last - first) * kTagSize);
        const std::uint64_t offset = slab == 0 ? 0 : kHeaderSize + first * kSealedChunkSize;
        if (Written(WriteFully(job_.outputFd, writes, offset), first) && job_.progress != nullptr) {
            job_.progress->fetch_add(plainBytes, std::memory_order_relaxed);
        }
    }

    void OpenSlab(std::uint64_t slab, Slab& space, ChaChaPoly& cipher)
    {
        const std::uint64_t first = slab * slabChunks_;
        const std::uint64_t last = std::min(first + slabChunks_, chunkCount_);  // exclusive
        std::size_t sealedBytes = 0;
        for (std::uint64_t chunk = first; chunk < last; ++chunk) {
            sealedBytes += PlainSize(chunk) + kTagSize;
        }
        const std::uint64_t offset = kHeaderSize + first * kSealedChunkSize;
        unsigned char* buffer = space.data.get();
        ssize_t got = -1;
        bool direct = job_.directInputFd >= 0;
        if (direct) {
            const std::uint64_t start = AlignDown(offset);
            const auto lead = static_cast<std::size_t>(offset - start);
            const std::size_t span =
                static_cast<std::size_t>(AlignDown(lead + sealedBytes + kDirectAlignment - 1));
            const ssize_t read = ReadDirect(job_.directInputFd, space.base, span, start, lead + sealedBytes);
            buffer = space.base + lead;
            got = read < 0 ? -1
                           : std::clamp<ssize_t>(read - static_cast<ssize_t>(lead), 0,
                                                 static_cast<ssize_t>(sealedBytes));
            // A device with larger blocks refuses these reads: they then go through the cache.
            direct = !(read < 0 && errno == EINVAL);
        }
        if (!direct) {
            buffer = space.data.get();
            Entries reads;
            reads.Add(buffer, sealedBytes);
            got = ReadFully(job_.inputFd, reads, offset, sealedBytes);
        }
        if (got < 0) {
            Fail(ChunkResult::Failure::Read, first);
            return;
        }
        if (static_cast<std::size_t>(got) != sealedBytes) {
            Fail(ChunkResult::Failure::InputChanged, first);
            return;
        }
        // The plaintext stays where its ciphertext was; the writes skip the tags.
        Entries writes;
        std::size_t openedBytes = 0;
        std::uint64_t chunk = first;
        for (; chunk < last; ++chunk) {
            unsigned char* place = buffer + (chunk - first) * kSealedChunkSize;
            const std::size_t plain = PlainSize(chunk);
            const format::AeadNonce nonce = format::ChunkNonce(chunk, chunk + 1 == chunkCount_);
            const bool authentic = job_.authenticateOnly
                                       ? cipher.Authenticate(place, plain + kTagSize, job_.associatedData,
                                                             job_.associatedDataSize, nonce)
                                       : cipher.Open(place, place, plain + kTagSize, job_.associatedData,
                                                     job_.associatedDataSize, nonce);
            if (!authentic) {
                break;
            }
            if (!job_.authenticateOnly) {
                writes.Add(place, plain);
            }
            openedBytes += plain + kTagSize;
        }
        if (!job_.authenticateOnly &&
            !Written(WriteFully(job_.outputFd, writes, first * kChunkSize), first)) {
            return;
        }
        if (job_.progress != nullptr) {
            job_.progress->fetch_add(openedBytes, std::memory_order_relaxed);
        }
        if (chunk < last) {
            Fail(ChunkResult::Failure::Authentication, chunk);
        }
    }

    // Records a failed write of the slab starting at chunk `first`; true when `error` is 0.
    bool Written(int error, std::uint64_t first)
    {
        if (error == 0) {
            return true;
        }
        Fail(
            error == ENOSPC || error == EDQUOT ? ChunkResult::Failure::DiskFull : ChunkResult::Failure::Write,
            first);
        return false;
    }

    const ChunkJob& job_;
    const std::uint64_t chunkCount_;
    const std::uint64_t slabChunks_;
    const std::uint64_t slabCount_;
    std::atomic<std::uint64_t> nextSlab_{0};
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    ChunkResult result_;
};

}  // namespace

ChunkResult RunChunkPipeline(const ChunkJob& job)
{
    Pipeline pipeline(job);
    return pipeline.Run();
}

}  // namespace kyv::cipher
