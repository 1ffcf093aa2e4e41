#include "core/analysis/BackgroundRandomnessMeasurer.h"

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#include "core/common/ThreadHandOff.h"
#include "core/files/FolderPath.h"
#include "engine/filelib/Randomness.h"

namespace kyv {

struct BackgroundRandomnessMeasurer::Shared {
    struct Job {
        std::filesystem::path path;
        qint64 minimumSize = 0;
        quint64 generation = 0;
    };

    std::mutex mutex;
    std::condition_variable wake;
    std::optional<Job> pending;
    bool workerStarted = false;
    bool stopping = false;
    RandomnessMeasure measure;
    // Valid while `stopping` is false; results are posted to it under the mutex.
    QObject* receiver = nullptr;
    BackgroundRandomnessMeasurer* owner = nullptr;
};

BackgroundRandomnessMeasurer::BackgroundRandomnessMeasurer(RandomnessMeasure measure, qint64 immediateBelow)
    : measure_(measure ? std::move(measure) : RandomnessMeasure(&filelib::FileRandomness)),
      immediateBelow_(immediateBelow),
      shared_(std::make_shared<Shared>())
{
    shared_->measure = measure_;
    shared_->receiver = &receiver_;
    shared_->owner = this;
}

BackgroundRandomnessMeasurer::~BackgroundRandomnessMeasurer()
{
    std::lock_guard lock(shared_->mutex);
    shared_->stopping = true;
    shared_->pending.reset();
    shared_->receiver = nullptr;
    shared_->owner = nullptr;
    shared_->wake.notify_all();
}

void BackgroundRandomnessMeasurer::Request(const platform::FilePath& file, qint64 minimumSize, Done done)
{
    ++generation_;
    std::error_code error;
    const bool regular = std::filesystem::is_regular_file(file, error);
    const std::uintmax_t size = regular ? std::filesystem::file_size(file, error) : 0;
    if (!regular || error || static_cast<qint64>(size) < immediateBelow_) {
        {
            std::lock_guard lock(shared_->mutex);
            shared_->pending.reset();
        }
        done_ = nullptr;
        done(measure_(file, minimumSize));
        return;
    }
    done_ = std::move(done);
    std::lock_guard lock(shared_->mutex);
    shared_->pending = Shared::Job{file, minimumSize, generation_};
    if (!shared_->workerStarted) {
        shared_->workerStarted = true;
        // Detached: a measure of a huge file in progress must not hold up shut-down.
        std::thread(MeasureRequests, shared_).detach();
    }
    shared_->wake.notify_all();
}

void BackgroundRandomnessMeasurer::Cancel()
{
    ++generation_;
    done_ = nullptr;
    std::lock_guard lock(shared_->mutex);
    shared_->pending.reset();
}

void BackgroundRandomnessMeasurer::Deliver(quint64 generation, double randomness)
{
    if (generation != generation_ || !done_) return;
    Done done = std::move(done_);
    done_ = nullptr;
    done(randomness);
}

void BackgroundRandomnessMeasurer::MeasureRequests(std::shared_ptr<Shared> shared)
{
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->wake.wait(lock, [&shared] { return shared->stopping || shared->pending.has_value(); });
        if (shared->stopping) return;
        const auto job = *shared->pending;
        shared->pending.reset();
        lock.unlock();
        const double randomness = shared->measure(job.path, job.minimumSize);
        lock.lock();
        if (shared->stopping) return;
        // A newer request waiting makes this result stale.
        if (shared->pending) continue;
        BackgroundRandomnessMeasurer* owner = shared->owner;
        const quint64 generation = job.generation;
        PostTo(*shared->receiver, [owner, generation, randomness] { owner->Deliver(generation, randomness); });
    }
}

}  // namespace kyv
