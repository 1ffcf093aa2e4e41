// "Do it!" benchmark: encrypting 10,000 files of 4 KiB and one file of 1 GiB through the main
// window's launch (checks, size estimate, disk-space check, report window, batch driver),
// against the same files through the cipher engine directly, in the same program run.
//   build/bin/bench_launch [scratch folder]      (default /dev/shm, else the temporary folder)
// Runs offscreen unless a platform is chosen; the confirmation is answered Yes by a stand-in.
// Each path runs five times, alternating; the best time of each counts. Scratch files are removed.

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <future>
#include <limits>
#include <memory>
#include <optional>

#include "core/app/AppContext.h"
#include "core/common/Clock.h"
#include "core/common/ProgramPaths.h"
#include "core/common/ReportSink.h"
#include "core/keys/TypedKeyEntry.h"
#include "core/launch/Confirmer.h"
#include "core/launch/DiskSpaceCheck.h"
#include "core/launch/FreeSpaceSource.h"
#include "core/launch/KeyLengthening.h"
#include "core/launch/LaunchReportWindow.h"
#include "core/operation/OperationContext.h"
#include "core/operation/RunController.h"
#include "core/operation/RunState.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/app/MainWindow.h"
#include "gui/common/QtFileDialogs.h"
#include "gui/launch/ReportWindowLaunch.h"
#include "gui/operation/ReportWindow.h"
#include "gui/operation/RunWindowWiring.h"
#include "platform/Drives.h"
#include "platform/ProgramPaths.h"

namespace {

constexpr int kSmallFiles = 10000;
constexpr qint64 kSmallSize = 4096;
constexpr qint64 kLargeSize = qint64(1) << 30;
constexpr int kRounds = 5;

// Answers every message OK and every question Yes, and prints what it was told.
class AnsweringPrompter final : public kyv::Prompter {
public:
    kyv::MessageAnswer Ask(const kyv::Message& message) override
    {
        std::fprintf(stderr, "message: %s (%s)\n", qPrintable(message.text), qPrintable(message.title));
        ++messages;
        return message.buttons == kyv::MessageButtons::Ok ? kyv::MessageAnswer::Ok : kyv::MessageAnswer::Yes;
    }
    int messages = 0;
};

// A report window that shows nothing: what the launch and the batch driver cost without painting.
class QuietReportWindow final : public kyv::LaunchReportWindow, public kyv::ReportSink {
public:
    kyv::RunState& State() override { return state; }
    kyv::ReportSink& Sink() override { return *this; }
    void SetCaption(const QString&) override {}
    void ShowModeless() override {}
    void Hide() override {}
    void RestoreCopyButton() override {}
    bool Deliver(const kyv::ReportEvent&) override { return true; }
    qsizetype AssuredRoom() const override { return std::numeric_limits<qsizetype>::max(); }
    void PausePoint() override {}
    void ReportBufferFull() override { stop = true; }
    bool StopRequested() const override { return stop; }
    void RequestStop() override { stop = true; }

    kyv::RunState state;
    bool stop = false;
};

class YesConfirmer final : public kyv::Confirmer {
public:
    bool Confirm(const kyv::OperationConfirmation&) override { return true; }
};

bool WriteRandomFile(const QString& path, qint64 size, QRandomGenerator& random)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QByteArray block(1 << 20, '\0');
    for (qint64 left = size; left > 0;) {
        const qsizetype part = static_cast<qsizetype>(std::min<qint64>(left, block.size()));
        random.fillRange(reinterpret_cast<quint32*>(block.data()), block.size() / 4);
        if (file.write(block.constData(), part) != part) return false;
        left -= part;
    }
    return true;
}

enum class EngineThread { Caller, Worker };

// The files of `folder` through the engine alone: one call per file. With
// EngineThread::Worker each call runs on a worker thread while the caller waits, as the operation
// runs large files and key derivations: shows what a hand-over would cost every small file.
double EngineOnly(kyv::cipher::CipherEngine& engine, const kyv::cipher::Key& key, const QString& folder,
                  const QString& outFolder, int& failures, EngineThread thread = EngineThread::Caller)
{
    QDir().mkpath(outFolder);
    QElapsedTimer timer;
    timer.start();
    QDirIterator files(folder, QDir::Files);
    while (files.hasNext()) {
        const QFileInfo input(files.next());
        const std::string in = QFile::encodeName(input.filePath()).toStdString();
        const std::string out =
            QFile::encodeName(outFolder + input.completeBaseName() + QStringLiteral(".enc")).toStdString();
        const kyv::cipher::CipherResult result =
            thread == EngineThread::Caller
                ? engine.Encrypt(key, in, out).result
                : std::async(std::launch::async, [&] { return engine.Encrypt(key, in, out).result; }).get();
        if (result != kyv::cipher::CipherResult::Success) ++failures;
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

double ThroughDoIt(kyv::gui::MainWindow& window, kyv::AppContext& context, const kyv::RunState& state,
                   const QString& folder, const QString& outFolder, int& failures, int expectedFiles)
{
    QDir().mkpath(outFolder);
    context.setup.folders = {kyv::platform::FilePath(folder), kyv::platform::FilePath(outFolder)};
    context.setup.fileSpecs = {QStringLiteral("*.*"), QStringLiteral("*.enc")};
    QElapsedTimer timer;
    timer.start();
    window.Click(kyv::gui::MainCommand::DoIt);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (state.result.filesDone != expectedFiles) failures += expectedFiles - state.result.filesDone;
    return seconds;
}

// The launch's own share: the size estimate over the folder plans and the disk-space check, as
// "Do it!" makes them.
double SizeEstimateAlone(kyv::AppContext& context, QuietReportWindow& quiet, const QString& folder,
                         const QString& outFolder)
{
    QDir().mkpath(outFolder);
    quiet.state.request.inputFolder = kyv::platform::FilePath(folder);
    quiet.state.request.inputSpec = QStringLiteral("*.*");
    quiet.state.request.outputFolder = kyv::platform::FilePath(outFolder);
    quiet.state.request.outputSpec = QStringLiteral("*.enc");
    quiet.state.request.kind = kyv::RunKind::Operation;
    QElapsedTimer timer;
    timer.start();
    const kyv::DiskSpaceVerdict verdict =
        kyv::CheckDiskSpace(context.setup, quiet.state.request, context.services.prompter,
                            context.services.freeSpace, context.services.floppies)
            .verdict;
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    QDir(outFolder).removeRecursively();
    return verdict == kyv::DiskSpaceVerdict::Enough ? seconds : 1e30;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString base =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : (QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                       : QDir::tempPath());
    QTemporaryDir scratch(base + QStringLiteral("/kyv-bench-launch-XXXXXX"));
    QTemporaryDir appData;
    if (!scratch.isValid() || !appData.isValid()) {
        std::fprintf(stderr, "cannot make scratch folders under %s\n", qPrintable(base));
        return 1;
    }
    const QString root = scratch.path() + QLatin1Char('/');
    const QString small = root + QStringLiteral("small/");
    const QString large = root + QStringLiteral("large/");
    QDir().mkpath(small);
    QDir().mkpath(large);
    QRandomGenerator random(4711);
    for (int i = 0; i < kSmallFiles; ++i) {
        if (!WriteRandomFile(small + QStringLiteral("f%1.dat").arg(i, 5, 10, QLatin1Char('0')), kSmallSize,
                             random))
            return 1;
    }
    if (!WriteRandomFile(large + QStringLiteral("big.dat"), kLargeSize, random)) return 1;

    auto engine = kyv::cipher::MakeCipherEngine();
    if (!engine) return 1;
    AnsweringPrompter prompter;
    kyv::gui::QtFileDialogs fileDialogs;
    kyv::SystemClock clock;
    kyv::DriveFreeSpace freeSpace;
    // The program text beside the benchmark (build/bin/kyve.dat, placed there by the program's build).
    const kyv::ProgramPaths paths{kyv::platform::ProgramFolder(), QString(), appData.path(), QString()};
    const kyv::platform::FloppyFolders floppies;
    const kyv::Services services{clock, prompter, fileDialogs, freeSpace, paths, *engine, floppies};
    kyv::AppContext context(services);
    YesConfirmer confirmer;
    QuietReportWindow quiet;
    // As the program runs it: the walk on the controller's worker, the window in its event loop.
    kyv::RunController runController(&kyv::gui::WaitForRunEnd);
    kyv::gui::MainWindow window(context, {.confirmer = &confirmer, .runController = &runController});
    if (!window.StartUp()) return 1;
    // The same launch into a report window that shows nothing.
    kyv::gui::MainWindow quietWindow(
        context, {.reportWindow = &quiet, .confirmer = &confirmer, .runController = &runController});
    if (!quietWindow.StartUp()) return 1;
    quietWindow.hide();
    const kyv::RunState& state = context.run;

    kyv::TypedKeyResult typed;
    typed.answer = kyv::TypedKeyAnswer::Yes;
    const QByteArray keyText("benchmark key of the launch");
    typed.text = kyv::SecureBytes(std::span(reinterpret_cast<const unsigned char*>(keyText.constData()),
                                            static_cast<std::size_t>(keyText.size())));
    kyv::ApplyTypedKey(context.key, typed);
    const std::optional<kyv::cipher::Key> engineKeyMade = kyv::EngineKey(context.key.normalizedKey);
    if (!engineKeyMade) return 1;
    const kyv::cipher::Key& engineKey = *engineKeyMade;

    // The key derivation happens once per key and engine; it is paid here, before any timing.
    int failures = 0;
    {
        QTemporaryDir warm(root + QStringLiteral("warm-XXXXXX"));
        WriteRandomFile(warm.filePath(QStringLiteral("w.dat")), 100, random);
        EngineOnly(*engine, engineKey, warm.path() + QLatin1Char('/'), warm.path() + QStringLiteral("/out/"),
                   failures);
    }

    struct Set {
        const char* name;
        QString folder;
        int files;
        double engineBest = 1e30;
        double workerBest = 1e30;
        double launchBest = 1e30;
        double quietBest = 1e30;
        double sizeEstimateBest = 1e30;
    };
    Set sets[] = {{"10,000 files of 4 KiB", small, kSmallFiles}, {"1 file of 1 GiB", large, 1}};
    for (Set& set : sets) {
        for (int round = 0; round < kRounds; ++round) {
            const QString engineOut = root + QStringLiteral("engine-out/");
            const QString launchOut = root + QStringLiteral("launch-out/");
            set.engineBest =
                std::min(set.engineBest, EngineOnly(*engine, engineKey, set.folder, engineOut, failures));
            QDir(engineOut).removeRecursively();
            set.workerBest = std::min(set.workerBest, EngineOnly(*engine, engineKey, set.folder, engineOut,
                                                                 failures, EngineThread::Worker));
            QDir(engineOut).removeRecursively();
            set.launchBest = std::min(set.launchBest, ThroughDoIt(window, context, state, set.folder,
                                                                  launchOut, failures, set.files));
            QDir(launchOut).removeRecursively();
            set.quietBest = std::min(set.quietBest, ThroughDoIt(quietWindow, context, quiet.state, set.folder,
                                                                launchOut, failures, set.files));
            QDir(launchOut).removeRecursively();
            set.sizeEstimateBest =
                std::min(set.sizeEstimateBest, SizeEstimateAlone(context, quiet, set.folder, launchOut));
        }
        std::printf(
            "%s\n  engine only %8.3f s\n  engine on worker threads %8.3f s\n  through Do it! %8.3f s  "
            "(ratio to engine only %.3f)\n"
            "  through Do it!, report window showing nothing %8.3f s  (ratio %.3f)\n"
            "  of which the size estimate and disk-space check      %8.3f s\n",
            set.name, set.engineBest, set.workerBest, set.launchBest, set.launchBest / set.engineBest,
            set.quietBest, set.quietBest / set.engineBest, set.sizeEstimateBest);
    }
    if (failures != 0 || prompter.messages != 0) {
        std::printf("FAILED: %d files not encrypted, %d messages\n", failures, prompter.messages);
        return 1;
    }
    window.Click(kyv::gui::MainCommand::Quit);
    return 0;
}
