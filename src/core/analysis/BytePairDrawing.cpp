#include "core/analysis/BytePairDrawing.h"

#include <algorithm>
#include <memory>
#include <system_error>
#include <vector>

#include "core/common/ThreadHandOff.h"
#include "core/files/FolderPath.h"
#include "engine/filelib/Randomness.h"
#include "engine/filelib/RegularFileReader.h"

namespace kyv {

namespace {

// Small enough that a stop is seen within a millisecond, large enough that reading costs nothing.
constexpr qint64 kBlockSize = qint64{256} * 1024;
// A part's dots reach the shared picture after this many blocks, so a look at it misses little.
constexpr qint64 kBlocksBetweenMerges = 16;
constexpr unsigned kMostThreads = 4;

unsigned DrawingThreads(qint64 length)
{
    // Below this, starting threads costs more than it saves.
    if (length < filelib::kRandomnessParallelFrom) return 1;
    return std::clamp(std::thread::hardware_concurrency(), 1U, kMostThreads);
}

// What the parts of one drawing share.
struct Parts {
    const filelib::RegularFileReader& reader;
    qint64 evenLength;
    unsigned count;
    BytePairPicture& picture;
    const DrawingControl& control;
    std::atomic<qint64> drawn{0};
    // A read failed: every part ends.
    std::atomic<bool> failed{false};
    // The file ended before the length: each part draws what lies before that end.
    std::atomic<bool> endedEarly{false};
    std::atomic<bool> stopped{false};
    // The parts merge into one picture: under the caller's mutex, or this one when it has none.
    std::mutex mergeMutex{};

    void Publish(const BytePairPicture& part)
    {
        const std::lock_guard lock(control.pictureMutex != nullptr ? *control.pictureMutex : mergeMutex);
        picture.Merge(part);
    }

    // Draws blocks index, index + count, ... into a picture of its own. Every block starts at an
    // even position, so the pairs of each part are pairs of the whole file.
    void Draw(unsigned index) noexcept
    {
        try {
            BytePairPicture part;
            const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(kBlockSize);
            qint64 unpublished = 0;
            for (qint64 offset = index * kBlockSize; offset < evenLength; offset += count * kBlockSize) {
                if (failed || (control.stop != nullptr && control.stop->load(std::memory_order_relaxed))) {
                    stopped = !failed;
                    break;
                }
                const qint64 wanted = std::min(kBlockSize, evenLength - offset);
                const std::int64_t got =
                    reader.ReadUpToAt(buffer.get(), static_cast<std::size_t>(wanted), offset);
                // Only whole pairs of bytes that were really read become dots.
                const qint64 pairBytes = std::max<std::int64_t>(got, 0) & ~std::int64_t{1};
                part.AddPairs(buffer.get(), static_cast<std::size_t>(pairBytes));
                const qint64 total = drawn += pairBytes;
                if (control.bytesDrawn != nullptr)
                    control.bytesDrawn->store(total, std::memory_order_relaxed);
                if (got < 0) failed = true;
                if (got < wanted) {
                    endedEarly = true;
                    break;
                }
                if (++unpublished == kBlocksBetweenMerges) {
                    Publish(part);
                    unpublished = 0;
                }
            }
            Publish(part);
        } catch (...) {
            failed = true;
        }
    }
};

}  // namespace

DrawingOutcome DrawBytePairs(const platform::FilePath& path, qint64 length, BytePairPicture& picture,
                             const DrawingControl& control)
{
    filelib::RegularFileReader reader;
    if (reader.Open(path) != filelib::RegularFileReader::OpenResult::Opened) return DrawingOutcome::ReadError;
    const qint64 evenLength = length & ~qint64{1};
    Parts parts{reader, evenLength, DrawingThreads(evenLength), picture, control};
    std::vector<std::jthread> helpers;
    for (unsigned i = 1; i < parts.count; ++i) {
        try {
            helpers.emplace_back([&parts, i] { parts.Draw(i); });
        } catch (const std::system_error&) {
            // No thread to be had: this one takes that part as well.
            parts.Draw(i);
        }
    }
    parts.Draw(0);
    helpers.clear();
    if (parts.failed || parts.endedEarly) return DrawingOutcome::ReadError;
    return parts.stopped ? DrawingOutcome::Stopped : DrawingOutcome::Complete;
}

BytePairDrawing::BytePairDrawing(QObject* parent) : QObject(parent) {}

BytePairDrawing::~BytePairDrawing()
{
    Stop();
    Join();
}

void BytePairDrawing::Reset()
{
    Stop();
    Join();
    // An Ended already on its way belongs to the drawing just ended and is dropped.
    ++generation_;
    stop_ = false;
    bytesDrawn_ = 0;
    std::lock_guard lock(pictureMutex_);
    picture_.Clear();
}

void BytePairDrawing::Start(const platform::FilePath& path, qint64 length)
{
    Reset();
    const quint64 generation = generation_;
    worker_ = std::thread([this, path, length, generation] {
        const DrawingOutcome outcome =
            DrawBytePairs(path, length, picture_, DrawingControl{&stop_, &bytesDrawn_, &pictureMutex_});
        // Dropped by Qt when this object is gone; the destructor has joined the worker by then.
        PostTo(*this, [this, generation, outcome] {
            if (generation != generation_) return;
            Join();
            emit Ended(outcome);
        });
    });
}

void BytePairDrawing::Stop() { stop_ = true; }

void BytePairDrawing::Join()
{
    if (worker_.joinable()) worker_.join();
}

void BytePairDrawing::CopyPicture(BytePairPicture& into) const
{
    std::lock_guard lock(pictureMutex_);
    into = picture_;
}

}  // namespace kyv
