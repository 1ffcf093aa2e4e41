#pragma once
// Measures a large file on a worker thread so that the window stays responsive, and a small one
// at once so that its description appears without a flicker.

#include <QObject>
#include <memory>

#include "core/analysis/RandomnessListing.h"
#include "core/analysis/RandomnessMeasurer.h"

namespace kyv {

class BackgroundRandomnessMeasurer final : public RandomnessMeasurer {
public:
    static constexpr qint64 kDefaultImmediateBelow = 1024 * 1024;

    // An empty `measure` is the file library's. Files shorter than `immediateBelow` bytes (and
    // files that cannot be examined) are measured on the calling thread.
    explicit BackgroundRandomnessMeasurer(RandomnessMeasure measure = {},
                                          qint64 immediateBelow = kDefaultImmediateBelow);
    // Never waits for a measure in progress: the worker finishes it on its own and its result is
    // dropped.
    ~BackgroundRandomnessMeasurer() override;

    void Request(const platform::FilePath& path, qint64 minimumSize, Done done) override;
    void Cancel() override;

private:
    struct Shared;
    // Runs on the worker until the measurer goes away; only the latest waiting request is measured.
    static void MeasureRequests(std::shared_ptr<Shared> shared);
    void Deliver(quint64 generation, double randomness);

    RandomnessMeasure measure_;
    qint64 immediateBelow_;
    std::shared_ptr<Shared> shared_;
    quint64 generation_ = 0;
    Done done_;
    // Receives the worker's results on the thread that made the requests.
    QObject receiver_;
};

}  // namespace kyv
