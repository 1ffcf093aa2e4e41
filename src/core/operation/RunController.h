#pragma once
// Owns the thread of a run: the folder walk and the engine calls of ProcessFiles go to a worker
// thread, and the window thread, where the controller lives, goes on with its events. The walk
// tells its report through the controller: its events reach the window in the order they were
// delivered, taken over every 20 ms and before anything the walk waits for; a question and the
// full-buffer handling block the walk while the window thread answers them. Stop and Pause are
// looked at where the walk always looked at them: as the window last told them through Wake, or as
// it holds them if that was over 20 ms ago. Pause blocks the worker on a condition until Wake,
// never in an event loop.

#include <QObject>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <type_traits>

class QTimer;

namespace kyv {

struct OperationContext;

class RunController final : public QObject {
    Q_OBJECT
public:
    // How the window thread waits in Run: it handles its events until RunEnded (the program's
    // window layer supplies a local event loop). None: Run works on the calling thread instead.
    using Waiter = std::function<void(RunController&)>;

    explicit RunController(Waiter waiter, QObject* parent = nullptr);
    // Waits for a run still going; the owner lets a run end (Stop) before destroying the controller,
    // since a walk waiting for an answer from the window would wait for ever.
    ~RunController() override;

    // ProcessFiles(context) on the worker; returns when the run is over, passing on what the walk
    // threw. Does nothing while a run is in progress.
    void Run(OperationContext& context);

    // Starts the run and returns at once; RunEnded follows. False: a run is in progress. The
    // context must outlive the run.
    bool Start(OperationContext& context);

    [[nodiscard]] bool Running() const { return job_ != nullptr; }

    // The window changed Stop or Pause: the walk sees the change at its next look, and a paused walk
    // looks again at once. Called on the controller's thread.
    void Wake();
    // On the worker: blocks until Wake, or a short while (a flag set without a Wake is seen too).
    void WaitForChange();

    // Runs `call` on the controller's thread and returns its result; the worker waits meanwhile, so
    // the controller's thread must be handling events (in the waiter) while a run goes on.
    template <typename Call>
    auto OnWindowThread(Call call) -> decltype(call());

signals:
    // On the window thread, after the worker has ended.
    void RunEnded();

private:
    class Job;
    class WindowSink;
    class WindowPrompter;
    class WindowPurgeDialogs;

    void InvokeOnWindowThread(const std::function<void()>& call);
    void FinishRun();
    // Keeps Stop and Pause as the window holds them (window thread); the worker reads them.
    void NoteFlags(bool stop, bool paused);

    const Waiter waiter_;
    // Hands the walk's events to the window while a run goes on.
    QTimer* const handOverClock_;
    std::unique_ptr<Job> job_;
    std::exception_ptr failure_;
    std::mutex wakeMutex_;
    std::condition_variable wakeCondition_;
    unsigned wakes_ = 0;
    // Guarded by wakeMutex_.
    bool flagsNoted_ = false;
    bool stopNoted_ = false;
    bool pausedNoted_ = false;
    std::chrono::steady_clock::time_point flagsNotedAt_;
};

template <typename Call>
auto RunController::OnWindowThread(Call call) -> decltype(call())
{
    using Result = decltype(call());
    if constexpr (std::is_void_v<Result>) {
        InvokeOnWindowThread(call);
    } else {
        Result result{};
        InvokeOnWindowThread([&result, &call] { result = call(); });
        return result;
    }
}

}  // namespace kyv
