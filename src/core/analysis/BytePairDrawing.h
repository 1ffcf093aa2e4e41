#pragma once
// Draws the byte-pair picture of a file: at once on the calling thread (the command-line tool), or
// on a worker thread that the window looks at on its clock ticks and can stop at any moment.

#include <QObject>
#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

#include "core/analysis/BytePairPicture.h"
#include "platform/FilePath.h"

namespace kyv {

enum class DrawingOutcome {
    Complete,   // every pair up to the length was drawn
    Stopped,    // a stop was asked for; the pairs drawn so far stay
    ReadError,  // the file could not be opened, or ended or failed before the length
};

struct DrawingControl {
    // Looked at between blocks of the file. May be null.
    const std::atomic<bool>* stop = nullptr;
    // Advanced after each block by the bytes whose pairs are drawn. May be null.
    std::atomic<qint64>* bytesDrawn = nullptr;
    // Held while a block's dots are set, so that another thread may copy the picture. May be null.
    std::mutex* pictureMutex = nullptr;
};

// Draws the pairs of the first `length` bytes of `path` (an odd length loses its last byte) into
// `picture`. Bytes the file holds beyond `length` are never read; a file that turns out shorter
// keeps the pairs it had and ends with ReadError.
[[nodiscard]] DrawingOutcome DrawBytePairs(const platform::FilePath& path, qint64 length,
                                           BytePairPicture& picture, const DrawingControl& control = {});

class BytePairDrawing final : public QObject {
    Q_OBJECT
public:
    explicit BytePairDrawing(QObject* parent = nullptr);
    // Stops a drawing in progress and waits for it (one block at most).
    ~BytePairDrawing() override;

    // Clears the picture and draws `path` on the worker; a drawing in progress is stopped first.
    // Ended follows, on this object's thread.
    void Start(const platform::FilePath& path, qint64 length);
    // Ends a drawing in progress without an Ended, and clears the picture.
    void Reset();
    // The worker ends after the block it is drawing; Ended(Stopped) follows.
    void Stop();

    [[nodiscard]] bool Running() const { return worker_.joinable(); }
    [[nodiscard]] qint64 BytesDrawn() const { return bytesDrawn_.load(std::memory_order_relaxed); }
    // The dots drawn so far.
    void CopyPicture(BytePairPicture& into) const;

signals:
    void Ended(kyv::DrawingOutcome outcome);

private:
    void Join();

    std::thread worker_;
    std::atomic<bool> stop_{false};
    std::atomic<qint64> bytesDrawn_{0};
    mutable std::mutex pictureMutex_;
    BytePairPicture picture_;
    // Tells a late Ended of an earlier drawing from the current one's.
    quint64 generation_ = 0;
};

}  // namespace kyv
