#include "core/operation/RunController.h"

#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>
#include <variant>
#include <vector>

#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"
#include "core/common/ThreadHandOff.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/PausePointRunner.h"
#include "core/operation/PurgeAdvice.h"
#include "core/operation/ReportFormatter.h"
#include "core/operation/RunState.h"

namespace kyv {

namespace {
// A pause also looks again after this long, for a flag set without a Wake (the program's shutdown).
constexpr std::chrono::milliseconds kLongestPauseWait{50};
// Flags noted longer ago than this are looked at again on the window thread: a change made without
// a Wake is seen all the same, and the walk never runs far ahead of the window's report.
constexpr std::chrono::milliseconds kFlagsFreshFor{20};
// How often the window takes what the walk has told: the report window shows it at its next tick
// anyway, and a batch of small files costs the window thread a wake-up per look, not per file.
constexpr std::chrono::milliseconds kHandOverEvery{20};
}  // namespace

// The report sink the walk sees on the worker: every event and everything the window must answer
// goes to the window's own sink on the controller's thread.
class RunController::WindowSink final : public ReportSink {
public:
    // `state` is the walk's own, `windowState` the window's (read on the window thread only).
    WindowSink(RunController& controller, ReportSink& window, RunState& state, const RunState& windowState,
               const Clock& clock)
        : controller_(controller), window_(window), state_(state), windowState_(windowState), clock_(clock)
    {
    }

    bool Deliver(const ReportEvent& event) override
    {
        // A run's start is waited for: the window resets the run's counters before the walk counts.
        // So is a status ("Paused"): it must not reach the window after a later one the user gave
        // there meanwhile ("Stopped").
        const bool waited =
            std::holds_alternative<RunStartedEvent>(event) || std::holds_alternative<StatusEvent>(event);
        const qsizetype added = waited ? 0 : ReportTextLength(ReportLinesOf(event));
        if (!waited && added <= room_) {
            // Sure to be taken: the walk goes on, and the window takes the event at its next look.
            room_ -= added;
            const std::lock_guard lock(queueMutex_);
            queued_.push_back(event);
            return true;
        }
        return controller_.OnWindowThread([this, &event] {
            const bool taken = window_.Deliver(event);
            LookAtReport();
            return taken;
        });
    }
    void PausePoint() override
    {
        PausePointHooks hooks;
        hooks.readFlags = [this] { return ReadFlags(); };
        hooks.waitForChange = [this] { controller_.WaitForChange(); };
        RunPausePoint(state_, *this, clock_, hooks);
    }
    void ReportBufferFull() override
    {
        controller_.OnWindowThread([this] {
            window_.ReportBufferFull();
            LookAtReport();
        });
    }
    bool StopRequested() const override { return ReadFlags().stop; }
    void RequestStop() override
    {
        controller_.OnWindowThread([this] {
            window_.RequestStop();
            LookAtReport();
        });
    }

    // On the window thread: the window takes the events the walk has delivered so far, in order.
    void HandOver()
    {
        std::vector<ReportEvent> events;
        {
            const std::lock_guard lock(queueMutex_);
            events.swap(queued_);
        }
        for (const ReportEvent& event : events) (void)window_.Deliver(event);
    }

    // On the window thread: Stop and Pause as the window holds them.
    RunFlags WindowFlags() const { return RunFlags{window_.StopRequested(), windowState_.control.paused}; }

private:
    // On the window thread, while the walk waits: what the next deliveries may count on. The
    // window only takes text back besides, so the room kept stays a floor until the next look.
    void LookAtReport()
    {
        room_ = window_.AssuredRoom();
        const RunFlags flags = WindowFlags();
        controller_.NoteFlags(flags.stop, flags.paused);
    }

    RunFlags ReadFlags() const
    {
        {
            const std::lock_guard lock(controller_.wakeMutex_);
            const auto age = std::chrono::steady_clock::now() - controller_.flagsNotedAt_;
            if (controller_.flagsNoted_ && age < kFlagsFreshFor)
                return RunFlags{controller_.stopNoted_, controller_.pausedNoted_};
        }
        return controller_.OnWindowThread([this] {
            const RunFlags flags = WindowFlags();
            controller_.NoteFlags(flags.stop, flags.paused);
            return flags;
        });
    }

    RunController& controller_;
    ReportSink& window_;
    RunState& state_;
    const RunState& windowState_;
    const Clock& clock_;
    qsizetype room_ = 0;
    std::mutex queueMutex_;
    // Delivered, not yet taken by the window; guarded by queueMutex_.
    std::vector<ReportEvent> queued_;
};

class RunController::WindowPrompter final : public Prompter {
public:
    WindowPrompter(RunController& controller, Prompter& window) : controller_(controller), window_(window) {}
    MessageAnswer Ask(const Message& message) override
    {
        return controller_.OnWindowThread([this, &message] { return window_.Ask(message); });
    }

private:
    RunController& controller_;
    Prompter& window_;
};

class RunController::WindowPurgeDialogs final : public PurgeAdviceDialogs {
public:
    WindowPurgeDialogs(RunController& controller, PurgeAdviceDialogs& window)
        : controller_(controller), window_(window)
    {
    }
    AntivirusAnswer AskAntivirusQuery() override
    {
        return controller_.OnWindowThread([this] { return window_.AskAntivirusQuery(); });
    }
    bool ShowPurgeWarning(const QString& path, bool encrypting) override
    {
        return controller_.OnWindowThread(
            [this, &path, encrypting] { return window_.ShowPurgeWarning(path, encrypting); });
    }

private:
    RunController& controller_;
    PurgeAdviceDialogs& window_;
};

// One run: the worker's own copies of what the main window may change or look at meanwhile, and
// the seams that carry the walk's calls over to the window. The run's state is two objects while the
// worker runs: the walk counts in its own, and the window's (Stop, Pause, what it shows) is touched
// on the window thread alone. The walk's counts go over to the window's once the worker has ended.
class RunController::Job {
public:
    Job(RunController& controller, OperationContext& original)
        : original_(original),
          setup_(original.setup),
          working_(original.working),
          state_(original.state),
          sink_(controller, original.sink, state_, original.state, original.clock),
          prompter_(controller, original.prompter),
          context_{setup_,
                   working_,
                   state_,
                   sink_,
                   prompter_,
                   original.clock,
                   original.engine,
                   original.key,
                   original.keyfilePath,
                   original.executablePath,
                   nullptr,
                   original.protectedExtensions,
                   nullptr,
                   original.batchBytes,
                   original.floppies}
    {
        if (original.purgeAdvice != nullptr) {
            PurgeAdviceDialogs* dialogs = original.purgeAdvice->Dialogs();
            if (dialogs != nullptr) purgeDialogs_.emplace(controller, *dialogs);
            purgeAdvice_.emplace(purgeDialogs_ ? &*purgeDialogs_ : nullptr);
            purgeAdvice_->showPurgeWarning = original.purgeAdvice->showPurgeWarning;
            context_.purgeAdvice = &*purgeAdvice_;
        }
    }

    void Start(RunController& controller)
    {
        thread_ = std::thread([this, &controller] {
            try {
                ProcessFilesOnThisThread(context_);
            } catch (...) {
                failure_ = std::current_exception();
            }
            PostTo(controller, [&controller] { controller.FinishRun(); });
        });
    }

    // On the window thread, once the worker has posted its end.
    std::exception_ptr Finish()
    {
        if (thread_.joinable()) thread_.join();
        sink_.HandOver();
        // What the walk leaves for the window: what it came to and its counters, the names of its
        // last folder, the number of files of that folder, the advice switch.
        RunState& window = original_.state;
        window.result = state_.result;
        window.pausedSeconds = state_.pausedSeconds;
        window.inputNames = state_.inputNames;
        window.outputNames = state_.outputNames;
        original_.working.fileListCount = working_.fileListCount;
        if (purgeAdvice_) original_.purgeAdvice->showPurgeWarning = purgeAdvice_->showPurgeWarning;
        original_.state.control.runInProgress = false;
        return failure_;
    }

    [[nodiscard]] RunFlags WindowFlags() const { return sink_.WindowFlags(); }
    // On the window thread: what the walk has told so far reaches the window.
    void HandOver() { sink_.HandOver(); }

    ~Job()
    {
        if (thread_.joinable()) thread_.join();
    }

private:
    OperationContext& original_;
    OperationSetup setup_;
    WorkingValues working_;
    RunState state_;
    WindowSink sink_;
    WindowPrompter prompter_;
    std::optional<WindowPurgeDialogs> purgeDialogs_;
    std::optional<PurgeAdvice> purgeAdvice_;
    OperationContext context_;
    std::thread thread_;
    std::exception_ptr failure_;
};

RunController::RunController(Waiter waiter, QObject* parent)
    : QObject(parent), waiter_(std::move(waiter)), handOverClock_(new QTimer(this))
{
    handOverClock_->setInterval(kHandOverEvery);
    connect(handOverClock_, &QTimer::timeout, this, [this] {
        if (job_ != nullptr) job_->HandOver();
    });
}

RunController::~RunController() = default;

bool RunController::Start(OperationContext& context)
{
    if (job_ != nullptr || context.state.control.runInProgress) return false;
    context.state.control.runInProgress = true;
    failure_ = nullptr;
    {
        const std::lock_guard lock(wakeMutex_);
        flagsNoted_ = false;
    }
    job_ = std::make_unique<Job>(*this, context);
    handOverClock_->start();
    job_->Start(*this);
    return true;
}

void RunController::Run(OperationContext& context)
{
    if (!waiter_) {
        if (context.state.control.runInProgress) return;
        context.state.control.runInProgress = true;
        struct Clear {
            bool& flag;
            ~Clear() { flag = false; }
        } clear{context.state.control.runInProgress};
        ProcessFilesOnThisThread(context);
        return;
    }
    if (!Start(context)) return;
    waiter_(*this);
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void RunController::FinishRun()
{
    if (job_ == nullptr) return;
    handOverClock_->stop();
    failure_ = job_->Finish();
    job_.reset();
    emit RunEnded();
}

void RunController::Wake()
{
    if (job_ != nullptr) {
        const RunFlags flags = job_->WindowFlags();
        NoteFlags(flags.stop, flags.paused);
    }
    {
        const std::lock_guard lock(wakeMutex_);
        ++wakes_;
    }
    wakeCondition_.notify_all();
}

void RunController::NoteFlags(bool stop, bool paused)
{
    const std::lock_guard lock(wakeMutex_);
    stopNoted_ = stop;
    pausedNoted_ = paused;
    flagsNoted_ = true;
    flagsNotedAt_ = std::chrono::steady_clock::now();
}

void RunController::WaitForChange()
{
    std::unique_lock lock(wakeMutex_);
    const unsigned seen = wakes_;
    wakeCondition_.wait_for(lock, kLongestPauseWait, [this, seen] { return wakes_ != seen; });
}

void RunController::InvokeOnWindowThread(const std::function<void()>& call)
{
    if (QThread::currentThread() == thread()) {
        call();
        return;
    }
    // A question or a look at the report comes after all the walk has written.
    CallOn(*this, [this, &call] {
        if (job_ != nullptr) job_->HandOver();
        call();
    });
}

}  // namespace kyv
