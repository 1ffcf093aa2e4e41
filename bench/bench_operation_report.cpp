// Time per file of an operation's report, at 1,000 and at 100,000 files: the report window must
// not slow down as its text grows.
//
//   bench_operation_report [report|walk|all]
//     report  the per-file report sequence alone (name, size, progress text appended and removed,
//             result, line end, pause point) into the real report window;
//     walk    ProcessFiles over real folders of small files with an instant engine, so listing,
//             output names, the file system and the hand-over of every report call from the run's
//             worker thread to the window are included.
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/common/Clock.h"
#include "core/common/OperationSetup.h"
#include "core/common/Prompter.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/RunController.h"
#include "core/operation/RunState.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/operation/ReportWindow.h"
#include "gui/operation/RunWindowWiring.h"

using namespace kyv;

namespace {

class NoPrompter final : public Prompter {
public:
    MessageAnswer Ask(const Message& message) override
    {
        std::fprintf(stderr, "unexpected message: %s\n", message.text.toLocal8Bit().constData());
        return MessageAnswer::No;
    }
};

// Copies the input with an 8-byte header: the cost of a real engine is not what is measured.
class InstantEngine final : public cipher::CipherEngine {
public:
    cipher::Outcome Encrypt(const cipher::Key&, const std::filesystem::path& input,
                            const std::filesystem::path& output) override
    {
        std::ifstream in(input, std::ios::binary);
        std::ofstream out(output, std::ios::binary | std::ios::trunc);
        out << "KYVBENCH" << in.rdbuf();
        if (!out) return {cipher::CipherResult::WriteError};
        return {cipher::CipherResult::Success, static_cast<std::uint64_t>(out.tellp())};
    }
    cipher::Outcome Decrypt(const cipher::Key& key, const std::filesystem::path& input,
                            const std::filesystem::path& output) override
    {
        return Encrypt(key, input, output);
    }
    cipher::Outcome Verify(const cipher::Key&, const std::filesystem::path&) override { return {}; }
    void WipeKeys() override {}
    std::uint64_t BytesProcessed() const override { return 0; }
};

struct Environment {
    OperationSetup setup;
    WorkingValues working;
    RunState state;
    NoPrompter prompter;
    SystemClock clock;
};

double ReportOnlyMicrosecondsPerFile(int files)
{
    Environment e;
    gui::ReportWindow report(e.state, e.setup, e.working, e.prompter, e.clock);
    report.show();
    (void)report.Deliver(RunStartedEvent{});
    ProgressEvent begins;
    begins.of = ProgressEvent::Of::FileWorkBegins;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < files; ++i) {
        FileResult file;
        file.inputName = QStringLiteral("file%1.txt").arg(i, 6, 10, QLatin1Char('0'));
        file.outputName = file.inputName;
        file.inputLength = 1234;
        file.outputLength = 1242;
        (void)report.Deliver(FileStartedEvent{file.inputName, file.inputLength});
        (void)report.Deliver(begins);
        (void)report.Deliver(FileFinishedEvent{file});
        if (i % 10 == 0) QCoreApplication::processEvents();
        report.PausePoint();
    }
    // The window has shown every line once the run ends.
    (void)report.Deliver(RunFinishedEvent{});
    return static_cast<double>(timer.nsecsElapsed()) / 1000.0 / files;
}

double WalkMicrosecondsPerFile(int files)
{
    QTemporaryDir folder;
    const std::string root = folder.path().toStdString();
    for (int i = 0; i < files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/f%06d.txt", i);
        std::ofstream(root + name, std::ios::binary) << "sixteen bytes...";
    }
    Environment e;
    gui::ReportWindow report(e.state, e.setup, e.working, e.prompter, e.clock);
    report.show();
    InstantEngine engine;
    std::array<unsigned char, cipher::kKeyLength> keyBytes{};
    const cipher::Key key = cipher::Key::Copy(keyBytes).value();
    e.state.request.kind = kyv::RunKind::Operation;
    e.state.request.inputFolder = e.state.request.outputFolder = kyv::platform::FilePath(folder.path());
    e.state.request.inputSpec = QStringLiteral("*.txt");
    e.state.request.outputSpec = QStringLiteral("*.enc");
    // As the program runs it: the walk on the controller's worker, the window in its event loop.
    RunController controller(&gui::WaitForRunEnd);
    gui::AttachRunController(controller, report);
    OperationContext context{e.setup, e.working, e.state, report,  e.prompter, e.clock,    &engine,
                             &key,    {},        {},      nullptr, {},         &controller};
    QElapsedTimer timer;
    timer.start();
    ProcessFiles(context);
    const double perFile = static_cast<double>(timer.nsecsElapsed()) / 1000.0 / files;
    if (e.state.result.filesDone != files)
        std::fprintf(stderr, "only %d of %d files done\n", e.state.result.filesDone, files);
    return perFile;
}

void Compare(const char* what, double (*measure)(int))
{
    // A first run pays for start-up (threads, caches, fonts); the small run is the median of three.
    (void)measure(1000);
    std::array<double, 3> smallRuns{measure(1000), measure(1000), measure(1000)};
    std::sort(smallRuns.begin(), smallRuns.end());
    const double small = smallRuns[1];
    const double large = measure(100000);
    std::printf("%-7s  1,000 files: %8.2f us/file   100,000 files: %8.2f us/file   ratio %.2f\n", what, small,
                large, large / small);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("all");
    if (mode == QLatin1String("report") || mode == QLatin1String("all"))
        Compare("report", ReportOnlyMicrosecondsPerFile);
    if (mode == QLatin1String("walk") || mode == QLatin1String("all"))
        Compare("walk", WalkMicrosecondsPerFile);
    return 0;
}
