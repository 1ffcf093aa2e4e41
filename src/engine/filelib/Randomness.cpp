#include "engine/filelib/Randomness.h"

#include "engine/filelib/RandomnessAccumulator.h"
#include "engine/filelib/RegularFileReader.h"

#include <sodium.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace kyv::filelib {
namespace {

// Below kRandomnessParallelFrom, starting threads costs more than it saves.
constexpr unsigned kMostThreads = 4;

unsigned CountingThreads(std::int64_t size)
{
    if (size < kRandomnessParallelFrom) {
        return 1;
    }
    return std::clamp(std::thread::hardware_concurrency(), 1U, kMostThreads);
}

double MeasureInOneThread(RegularFileReader& reader)
{
    RandomnessAccumulator accumulator;
    const bool complete = reader.ForEachBlock(
        [&accumulator](const unsigned char* block, std::size_t count) { accumulator.Add(block, count); });
    return complete ? accumulator.Measure() : kRandomnessReadError;
}

// Every block starts at a multiple of the block size, an even position, so the pairs of each part
// are pairs of the whole file and the parts' counts add up to the whole file's.
double MeasureInThreads(const RegularFileReader& reader, unsigned threads)
{
    const auto blockSize = static_cast<std::int64_t>(RegularFileReader::kBlockSize);
    const std::int64_t blocks = (reader.Size() + blockSize - 1) / blockSize;
    std::vector<std::unique_ptr<RandomnessAccumulator>> parts;
    for (unsigned i = 0; i < threads; ++i) {
        parts.push_back(std::make_unique<RandomnessAccumulator>());
    }
    std::atomic<bool> failed{false};
    const auto countPart = [&](unsigned index) noexcept {
        try {
            const auto buffer =
                std::make_unique_for_overwrite<unsigned char[]>(RegularFileReader::kBlockSize);
            for (std::int64_t block = index; block < blocks && !failed; block += threads) {
                const std::int64_t offset = block * blockSize;
                const auto count = static_cast<std::size_t>(std::min(blockSize, reader.Size() - offset));
                if (!reader.ReadAt(buffer.get(), count, offset)) {
                    failed = true;
                    break;
                }
                parts[index]->Add(buffer.get(), count);
            }
            sodium_memzero(buffer.get(), RegularFileReader::kBlockSize);
        } catch (...) {
            failed = true;
        }
    };
    std::vector<std::jthread> helpers;
    for (unsigned i = 1; i < threads; ++i) {
        try {
            helpers.emplace_back(countPart, i);
        } catch (const std::system_error&) {
            // No thread to be had: this one takes that part as well.
            countPart(i);
        }
    }
    countPart(0);
    helpers.clear();
    if (failed) {
        return kRandomnessReadError;
    }
    for (unsigned i = 1; i < threads; ++i) {
        parts[0]->Merge(*parts[i]);
    }
    return parts[0]->Measure();
}

}  // namespace

double FileRandomness(const std::filesystem::path& path, std::int64_t minimumSize)
{
    RegularFileReader reader;
    switch (reader.Open(path)) {
        case RegularFileReader::OpenResult::Opened:
            break;
        case RegularFileReader::OpenResult::NotFound:
            return kRandomnessNotFound;
        case RegularFileReader::OpenResult::Unreadable:
            return kRandomnessReadError;
    }
    if (reader.Size() == 0) {
        return kRandomnessEmpty;
    }
    if (reader.Size() < minimumSize) {
        return kRandomnessTooShort;
    }
    const unsigned threads = CountingThreads(reader.Size());
    return threads > 1 ? MeasureInThreads(reader, threads) : MeasureInOneThread(reader);
}

double RandomnessMeasure(const unsigned char* bytes, std::size_t count, std::size_t sampleCount)
{
    if (bytes == nullptr || count == 0) {
        return kRandomnessEmpty;
    }
    if (count < sampleCount) {
        return kRandomnessTooShort;
    }
    RandomnessAccumulator accumulator;
    accumulator.Add(bytes, count);
    return accumulator.Measure();
}

}  // namespace kyv::filelib
