#include "core/analysis/BytePairDrawing.h"

#include <memory>

#include "core/files/FolderPath.h"
#include "engine/filelib/RegularFileReader.h"

namespace kyv {

namespace {
// Small enough that a stop is seen within a millisecond, large enough that reading costs nothing.
constexpr qint64 kBlockSize = qint64{256} * 1024;
}  // namespace

DrawingOutcome DrawBytePairs(const QString& path, qint64 length, BytePairPicture& picture,
                             const DrawingControl& control)
{
    filelib::RegularFileReader reader;
    if (reader.Open(ToFileSystemPath(path)) != filelib::RegularFileReader::OpenResult::Opened)
        return DrawingOutcome::ReadError;
    const qint64 evenLength = length & ~qint64{1};
    const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(kBlockSize);
    for (qint64 done = 0; done < evenLength;) {
        if (control.stop != nullptr && control.stop->load(std::memory_order_relaxed))
            return DrawingOutcome::Stopped;
        const qint64 wanted = std::min(kBlockSize, evenLength - done);
        const std::int64_t got = reader.ReadUpTo(buffer.get(), static_cast<std::size_t>(wanted));
        if (got < 0) return DrawingOutcome::ReadError;
        // Only whole pairs of bytes that were really read become dots.
        const qint64 pairBytes = got & ~std::int64_t{1};
        {
            std::unique_lock<std::mutex> lock;
            if (control.pictureMutex != nullptr) lock = std::unique_lock(*control.pictureMutex);
            picture.AddPairs(buffer.get(), static_cast<std::size_t>(pairBytes));
        }
        done += pairBytes;
        if (control.bytesDrawn != nullptr) control.bytesDrawn->store(done, std::memory_order_relaxed);
        if (got < wanted) return DrawingOutcome::ReadError;
    }
    return DrawingOutcome::Complete;
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

void BytePairDrawing::Start(const QString& path, qint64 length)
{
    Reset();
    const quint64 generation = generation_;
    worker_ = std::thread([this, path, length, generation] {
        const DrawingOutcome outcome =
            DrawBytePairs(path, length, picture_, DrawingControl{&stop_, &bytesDrawn_, &pictureMutex_});
        // Dropped by Qt when this object is gone; the destructor has joined the worker by then.
        QMetaObject::invokeMethod(
            this,
            [this, generation, outcome] {
                if (generation != generation_) return;
                Join();
                emit Ended(outcome);
            },
            Qt::QueuedConnection);
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
