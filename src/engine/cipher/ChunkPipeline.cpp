#include "engine/cipher/ChunkPipeline.h"

#include <sodium.h>
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

// Reads exactly `size` bytes; returns the number read (fewer at end of file) or -1.
ssize_t ReadFully(int fd, unsigned char* buffer, std::size_t size, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, buffer + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

// 0 or the errno of the failed write.
int WriteFully(int fd, const unsigned char* buffer, std::size_t size, std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = ::pwrite(fd, buffer + done, size - done, static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (put == 0) {
            return ENOSPC;
        }
        done += static_cast<std::size_t>(put);
    }
    return 0;
}

class Pipeline {
public:
    explicit Pipeline(const ChunkJob& job)
        : job_(job),
          chunkCount_(format::ChunkCount(job.plaintextLength)),
          slabCount_((chunkCount_ + kChunksPerSlab - 1) / kChunksPerSlab)
    {
    }

    ChunkResult Run()
    {
        const auto wanted =
            static_cast<unsigned>(std::min<std::uint64_t>(std::max(job_.maxThreads, 1u), slabCount_));
        // Buffers and cipher contexts are had before any thread starts, so that no thread can fail
        // for memory.
        std::vector<Buffers> buffers;
        try {
            buffers.reserve(wanted);
            for (unsigned i = 0; i < wanted; ++i) {
                Buffers made(BufferSize(), job_.fileKey, job_.encrypt);
                if (!made.cipher->Valid()) {
                    throw std::bad_alloc();
                }
                buffers.push_back(std::move(made));
            }
        } catch (const std::bad_alloc&) {
            if (buffers.empty()) {
                return ChunkResult{ChunkResult::Failure::NoMemory, 0};
            }
        }
        std::vector<std::thread> helpers;
        for (std::size_t i = 1; i < buffers.size(); ++i) {
            try {
                helpers.emplace_back([this, &buffers, i] { Work(buffers[i]); });
            } catch (const std::system_error&) {
                break;  // fewer threads only make it slower
            }
        }
        Work(buffers[0]);
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

    struct Buffers {
        Buffers(std::size_t size, const unsigned char* key, bool encrypt)
            : input(size),
              output(size),
              cipher(std::make_unique<ChaChaPoly>(
                  key, encrypt ? ChaChaPoly::Direction::Seal : ChaChaPoly::Direction::Open))
        {
        }
        ~Buffers()
        {
            // Plaintext passed through these; leave none of it in freed memory.
            if (!input.empty()) {
                sodium_memzero(input.data(), input.size());
            }
            if (!output.empty()) {
                sodium_memzero(output.data(), output.size());
            }
        }
        Buffers(Buffers&&) = default;
        std::vector<unsigned char> input;
        std::vector<unsigned char> output;
        std::unique_ptr<ChaChaPoly> cipher;
    };

    // Large enough for one slab, and no larger than this file needs, so that small files stay cheap.
    [[nodiscard]] std::size_t BufferSize() const
    {
        const std::uint64_t chunks = std::min<std::uint64_t>(kChunksPerSlab, chunkCount_);
        return static_cast<std::size_t>(
            std::min<std::uint64_t>(chunks * kSealedChunkSize, job_.plaintextLength + chunks * kTagSize));
    }

    void Work(Buffers& buffers)
    {
        while (!stop_.load(std::memory_order_relaxed)) {
            const std::uint64_t slab = nextSlab_.fetch_add(1, std::memory_order_relaxed);
            if (slab >= slabCount_) {
                break;
            }
            ProcessSlab(slab, buffers.input.data(), buffers.output.data(), *buffers.cipher);
        }
    }

    void ProcessSlab(std::uint64_t slab, unsigned char* input, unsigned char* output, ChaChaPoly& cipher)
    {
        const std::uint64_t first = slab * kChunksPerSlab;
        const std::uint64_t last = std::min(first + kChunksPerSlab, chunkCount_);  // exclusive
        std::size_t plainBytes = 0;
        for (std::uint64_t chunk = first; chunk < last; ++chunk) {
            plainBytes += PlainSize(chunk);
        }
        const std::size_t sealedBytes = plainBytes + static_cast<std::size_t>(last - first) * kTagSize;
        const std::size_t inBytes = job_.encrypt ? plainBytes : sealedBytes;
        const std::uint64_t plainOffset = first * kChunkSize;
        const std::uint64_t sealedOffset = kHeaderSize + first * kSealedChunkSize;
        const std::uint64_t inOffset = job_.encrypt ? plainOffset : sealedOffset;
        const std::uint64_t outOffset = job_.encrypt ? sealedOffset : plainOffset;

        const ssize_t got = ReadFully(job_.inputFd, input, inBytes, inOffset);
        if (got < 0) {
            Fail(ChunkResult::Failure::Read, first);
            return;
        }
        if (static_cast<std::size_t>(got) != inBytes) {
            Fail(ChunkResult::Failure::InputChanged, first);
            return;
        }

        std::size_t inPos = 0;
        std::size_t outPos = 0;
        std::uint64_t goodChunks = 0;
        bool sealFailed = false;
        for (std::uint64_t chunk = first; chunk < last; ++chunk) {
            const std::size_t plain = PlainSize(chunk);
            const auto nonce = format::ChunkNonce(chunk, chunk + 1 == chunkCount_);
            if (job_.encrypt) {
                if (!cipher.Seal(output + outPos, input + inPos, plain, job_.associatedData,
                                 job_.associatedDataSize, nonce)) {
                    sealFailed = true;
                    break;
                }
                inPos += plain;
                outPos += plain + kTagSize;
            } else {
                if (!cipher.Open(output + outPos, input + inPos, plain + kTagSize, job_.associatedData,
                                 job_.associatedDataSize, nonce)) {
                    break;
                }
                inPos += plain + kTagSize;
                outPos += plain;
            }
            ++goodChunks;
        }

        const int writeError = WriteFully(job_.outputFd, output, outPos, outOffset);
        if (writeError != 0) {
            Fail(writeError == ENOSPC || writeError == EDQUOT ? ChunkResult::Failure::DiskFull
                                                              : ChunkResult::Failure::Write,
                 first);
            return;
        }
        if (job_.progress != nullptr) {
            job_.progress->fetch_add(inPos, std::memory_order_relaxed);
        }
        if (first + goodChunks < last) {
            Fail(sealFailed ? ChunkResult::Failure::NoMemory : ChunkResult::Failure::Authentication,
                 first + goodChunks);
        }
    }

    const ChunkJob& job_;
    const std::uint64_t chunkCount_;
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
