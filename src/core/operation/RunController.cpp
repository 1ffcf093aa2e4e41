#include "core/operation/RunController.h"

#include <QThread>
#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/common/ReportSink.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/PausePointRunner.h"
#include "core/operation/PurgeAdvice.h"
#include "core/operation/RunState.h"

namespace kyv {

namespace {
// A pause also looks again after this long, for a flag set without a Wake (the program's shutdown).
constexpr std::chrono::milliseconds kLongestPauseWait{50};
// Flags noted longer ago than this are looked at again on the window thread: a change made without
// a Wake is seen all the same, and the walk never runs far ahead of the window's report.
constexpr std::chrono::milliseconds kFlagsFreshFor{20};
}  // namespace

// The report sink the walk sees on the worker: everything the window must show or answer goes to
// the window's own sink on the controller's thread.
class RunController::WindowSink final : public ReportSink {
public:
    // `state` is the walk's own, `windowState` the window's (read on the window thread only).
    WindowSink(RunController& controller, ReportSink& window, RunState& state, const RunState& windowState,
               const Clock& clock)
        : controller_(controller), window_(window), state_(state), windowState_(windowState), clock_(clock)
    {
    }

    bool AppendReport(const QString& text, bool moveCaret) override
    {
        if (suppressedKnown_ && suppressed_) return true;
        if (text.size() <= room_) {
            // Sure to be taken: the walk goes on, and the window gets the text with what follows up
            // to the next text that moves the caret (a file's size, its progress text) or the
            // next call of another kind.
            room_ -= text.size();
            pending_ += text;
            pendingCaret_ = pendingCaret_ || moveCaret;
            if (moveCaret) Flush();
            emit controller_.ReportAppended(text, moveCaret);
            return true;
        }
        const bool appended = controller_.OnWindowThread([this, &text, moveCaret] {
            const bool taken = window_.AppendReport(text, moveCaret);
            LookAtReport();
            return taken;
        });
        if (appended) emit controller_.ReportAppended(text, moveCaret);
        return appended;
    }
    void RemoveReportTail(int count) override
    {
        // Mostly the progress text of a file, which then never leaves the walk's thread.
        const int fromPending = static_cast<int>(std::min<qsizetype>(count, pending_.size()));
        pending_.chop(fromPending);
        room_ += fromPending;
        pendingRemoval_ += count - fromPending;
        emit controller_.ReportTailRemoved(count);
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
    bool ReportSuppressed() const override
    {
        if (suppressedKnown_) return suppressed_;
        return controller_.OnWindowThread([this] { return window_.ReportSuppressed(); });
    }
    void SetReportSuppressed(bool suppressed) override
    {
        controller_.OnWindowThread([this, suppressed] {
            window_.SetReportSuppressed(suppressed);
            LookAtReport();
        });
    }
    bool ReportEmpty() const override
    {
        return controller_.OnWindowThread([this] { return window_.ReportEmpty(); });
    }
    void RunStarted() override
    {
        // Waited for: the window resets the run's counters before the walk counts.
        controller_.OnWindowThread([this] {
            window_.RunStarted();
            LookAtReport();
        });
        emit controller_.RunStarted();
    }
    void RunEnded() override
    {
        Flush();
        emit controller_.RunFinishing();
    }
    void ShrinkToShortReport() override
    {
        Post([this] { window_.ShrinkToShortReport(); });
    }
    void ShowCopyButton() override
    {
        Post([this] { window_.ShowCopyButton(); });
    }
    void HideReport() override
    {
        Post([this] { window_.HideReport(); });
    }
    void SetStatusText(const QString& text) override
    {
        Flush();
        emit controller_.StatusChanged(text);
    }
    QString StatusText() const override
    {
        return controller_.OnWindowThread([this] { return window_.StatusText(); });
    }
    void MoveCaretToEnd() override
    {
        Post([this] { window_.MoveCaretToEnd(); });
    }
    void SetAutoScroll(bool on) override
    {
        Post([this, on] { window_.SetAutoScroll(on); });
    }
    void ShowFileProgress(quint64 bytesDone, quint64 bytesTotal) override
    {
        Flush();
        emit controller_.FileProgress(bytesDone, bytesTotal);
    }
    void HideFileProgress() override
    {
        Flush();
        emit controller_.FileProgressHidden();
    }
    void ShowBatchProgress(const BatchProgressView& progress) override
    {
        Post([this, progress] { window_.ShowBatchProgress(progress); });
    }
    void HideBatchProgress() override
    {
        Post([this] { window_.HideBatchProgress(); });
    }

    // On the worker: hands the window what the walk has written and not yet handed over.
    void Flush()
    {
        if (pending_.isEmpty() && pendingRemoval_ == 0) return;
        QMetaObject::invokeMethod(
            &controller_,
            [this, removal = pendingRemoval_, text = pending_, caret = pendingCaret_] {
                if (removal > 0) window_.RemoveReportTail(removal);
                if (!text.isEmpty()) (void)window_.AppendReport(text, caret);
            },
            Qt::QueuedConnection);
        pending_.clear();
        pendingRemoval_ = 0;
        pendingCaret_ = false;
    }

    // On the window thread: Stop and Pause as the window holds them.
    RunFlags WindowFlags() const { return RunFlags{window_.StopRequested(), windowState_.control.paused}; }

    // The window's side of the signals, for the length of one run.
    void Connect(std::vector<QMetaObject::Connection>& connections)
    {
        RunController* c = &controller_;
        ReportSink* w = &window_;
        connections.push_back(connect(c, &RunController::FileProgress, c, [w](quint64 done, quint64 total) {
            w->ShowFileProgress(done, total);
        }));
        connections.push_back(
            connect(c, &RunController::FileProgressHidden, c, [w] { w->HideFileProgress(); }));
        connections.push_back(connect(c, &RunController::StatusChanged, c,
                                      [w](const QString& text) { w->SetStatusText(text); }));
        connections.push_back(connect(c, &RunController::RunFinishing, c, [w] { w->RunEnded(); }));
    }

private:
    // On the window thread, while the walk waits: what the next appends may count on. Removals
    // only add room, so the room kept stays a floor until the next look.
    void LookAtReport()
    {
        suppressed_ = window_.ReportSuppressed();
        suppressedKnown_ = true;
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

    // After what is pending, so that the window keeps the walk's order.
    template <typename Call>
    void Post(Call call)
    {
        Flush();
        QMetaObject::invokeMethod(&controller_, std::move(call), Qt::QueuedConnection);
    }

    RunController& controller_;
    ReportSink& window_;
    RunState& state_;
    const RunState& windowState_;
    const Clock& clock_;
    // Suppression changes only through this sink or the full-buffer handling, both looked after.
    bool suppressedKnown_ = false;
    bool suppressed_ = false;
    qsizetype room_ = 0;
    // Written, not yet handed to the window: first `pendingRemoval_` characters go from the
    // report's end, then `pending_` is appended.
    QString pending_;
    int pendingRemoval_ = 0;
    bool pendingCaret_ = false;
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
        sink_.Connect(connections_);
    }

    void Start(RunController& controller)
    {
        thread_ = std::thread([this, &controller] {
            try {
                ProcessFilesOnThisThread(context_);
            } catch (...) {
                failure_ = std::current_exception();
            }
            sink_.Flush();
            QMetaObject::invokeMethod(
                &controller, [&controller] { controller.FinishRun(); }, Qt::QueuedConnection);
        });
    }

    // On the window thread, once the worker has posted its end.
    std::exception_ptr Finish()
    {
        if (thread_.joinable()) thread_.join();
        for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
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
    // On the worker, before it waits for the window.
    void Flush() { sink_.Flush(); }

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
    std::vector<QMetaObject::Connection> connections_;
    std::thread thread_;
    std::exception_ptr failure_;
};

RunController::RunController(Waiter waiter, QObject* parent) : QObject(parent), waiter_(std::move(waiter)) {}

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
    if (job_ != nullptr) job_->Flush();
    QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
}

}  // namespace kyv
