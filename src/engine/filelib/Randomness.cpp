#include "engine/filelib/Randomness.h"

#include "engine/filelib/RandomnessAccumulator.h"
#include "engine/filelib/RegularFileReader.h"

namespace kyv::filelib {

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
    RandomnessAccumulator accumulator;
    const bool complete = reader.ForEachBlock(
        [&accumulator](const unsigned char* block, std::size_t count) { accumulator.Add(block, count); });
    if (!complete) {
        return kRandomnessReadError;
    }
    return accumulator.Measure();
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
