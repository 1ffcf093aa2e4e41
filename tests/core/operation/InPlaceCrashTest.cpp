// Kills a process at random moments while it encrypts a folder in place, and checks that every
// file survives: as its original, or as a complete encryption under its own or a temporary name;
// then that `kyv recover --apply` leaves every file under its own name, as its original or as its
// encryption, with nothing else left but results beside intact originals.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

#include "core/common/Clock.h"
#include "core/common/OperationSetup.h"
#include "core/files/FolderPath.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/RunState.h"
#include "engine/cipher/CipherEngine.h"
#include "engine/filelib/OriginalNameRecord.h"
#include "support/FakeCipherEngine.h"
#include "support/FakePrompter.h"
#include "support/RecordingReportSink.h"

namespace kyv::test {
namespace {

namespace fs = std::filesystem;

const char* const kChildFolderVariable = "KYV_CRASH_CHILD_FOLDER";
constexpr int kFiles = 12;

std::unique_ptr<cipher::CipherEngine> CheapEngine()
{
    return cipher::MakeCipherEngine(cipher::KdfPolicy{cipher::KdfCost{1, 13}, cipher::KdfCost{1, 13}});
}

cipher::Key TestKey() { return EngineKeyOf(std::string(cipher::kKeyLength, 'K')); }

// The child's whole life: encrypt the folder in place, then exit without running any test.
bool RunChildIfAsked()
{
    const char* folder = std::getenv(kChildFolderVariable);
    if (folder == nullptr) return false;
    OperationSetup setup;
    setup.direction = Direction::Encrypt;
    setup.inPlace = true;
    WorkingValues working;
    RunState state;
    state.request.kind = RunKind::Operation;
    state.request.inputFolder = state.request.outputFolder = FilePath(folder);
    state.request.inputSpec = state.request.outputSpec = QStringLiteral("*.txt");
    RecordingReportSink sink;
    FakePrompter prompter;
    SystemClock clock;
    const auto engine = CheapEngine();
    const auto key = TestKey();
    OperationContext context{setup,        working, state, sink, prompter, clock,
                             engine.get(), &key,    {},    {},   nullptr,  {}};
    ProcessFiles(context);
    ::_exit(state.result.filesDone == kFiles ? 0 : 1);
}

[[maybe_unused]] const bool kRanAsChild = RunChildIfAsked();

std::map<std::string, std::string> MakeFolder(const fs::path& folder, std::mt19937& random)
{
    std::map<std::string, std::string> originals;
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "file" + std::to_string(i) + ".txt";
        const std::string content = PlainBytes(1000 + random() % 200000, static_cast<char>('a' + i));
        WriteWholeFile(folder / name, content);
        originals[name] = content;
    }
    return originals;
}

bool DecryptsTo(cipher::CipherEngine& engine, const fs::path& candidate, const std::string& plain,
                const fs::path& scratch)
{
    const auto key = TestKey();
    fs::remove(scratch);
    return engine.Decrypt(key, candidate, scratch).Succeeded() && ReadWholeFile(scratch) == plain;
}

// Each original must be found whole under its name or a temporary name (its name and digits).
void ExpectNothingLost(const fs::path& folder, const std::map<std::string, std::string>& originals,
                       const fs::path& scratch, int round)
{
    const auto engine = CheapEngine();
    for (const auto& [name, content] : originals) {
        bool found = false;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string candidate = entry.path().filename().string();
            if (candidate.rfind(name, 0) != 0) continue;
            const std::string suffix = candidate.substr(name.size());
            if (suffix.find_first_not_of("0123456789") != std::string::npos || !entry.is_regular_file())
                continue;
            const std::string bytes = ReadWholeFile(entry.path());
            if (bytes == content || DecryptsTo(*engine, entry.path(), content, scratch)) {
                found = true;
                break;
            }
        }
        EXPECT_TRUE(found) << "round " << round << ": " << name << " was lost";
    }
}

// Where the file system takes the purge's record, an original caught in its purge says which
// file it was.
void ExpectHiddenOriginalsRecorded(const fs::path& folder,
                                   const std::map<std::string, std::string>& originals, int round)
{
    const fs::path probe = folder / "probe";
    WriteWholeFile(probe, "");
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CLOEXEC);
    const bool recordsKept = filelib::RecordOriginalName(fd, "probe");
    ::close(fd);
    fs::remove(probe);
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != 12 || name.find_first_not_of("0123456789abcdef") != std::string::npos ||
            fs::file_size(entry.path()) == 0 || !recordsKept)
            continue;
        const std::optional<std::string> record = filelib::RecordedOriginalName(entry.path());
        EXPECT_TRUE(record && originals.count(*record) == 1) << "round " << round << ": " << name;
    }
}

// After recovery: each name holds its original or its encryption; any other file is a result
// left beside its intact original.
void ExpectRecovered(const fs::path& folder, const std::map<std::string, std::string>& originals,
                     const fs::path& scratch, int round)
{
    QProcess recover;
    recover.start(QStringLiteral(KYV_CLI_PATH), {QStringLiteral("recover"), QStringLiteral("--apply"),
                                                 QString::fromStdString(folder.string())});
    ASSERT_TRUE(recover.waitForFinished(60000));
    const std::string report = recover.readAllStandardOutput().toStdString();
    EXPECT_NE(recover.exitCode(), 2) << report << recover.readAllStandardError().toStdString();
    const auto engine = CheapEngine();
    std::map<std::string, bool> intact;
    for (const auto& [name, content] : originals) {
        const fs::path path = folder / name;
        ASSERT_TRUE(fs::is_regular_file(path)) << "round " << round << ": " << name << " lost its name\n"
                                               << report;
        intact[name] = ReadWholeFile(path) == content;
        EXPECT_TRUE(intact[name] || DecryptsTo(*engine, path, content, scratch))
            << "round " << round << ": " << name << " is neither its original nor its encryption\n"
            << report;
    }
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (originals.count(name) != 0) continue;
        const std::string original = name.substr(0, name.find_last_not_of("0123456789") + 1);
        EXPECT_TRUE(original != name && intact[original])
            << "round " << round << ": " << name << " was left behind\n"
            << report;
    }
}

double RunChild(const fs::path& folder, int killAfterMs, bool& finished)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildFolderVariable), QString::fromStdString(folder.string()));
    child.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_list_tests")});
    EXPECT_TRUE(child.waitForStarted());
    finished = killAfterMs < 0 ? child.waitForFinished(60000) : child.waitForFinished(killAfterMs);
    if (!finished) {
        child.kill();
        child.waitForFinished();
    }
    EXPECT_TRUE(!finished || child.exitCode() == 0) << child.readAllStandardError().toStdString();
    return static_cast<double>(timer.elapsed());
}

TEST(InPlaceCrashTest, KillingTheProcessAtAnyMomentLosesNoFile)
{
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    QTemporaryDir scratchFolder;
    const fs::path scratch = scratchFolder.path().toStdString() + "/decrypted";

    // A run to the end tells how long the child takes; later runs are killed within that time.
    QTemporaryDir calibration;
    const fs::path calibrationFolder = calibration.path().toStdString();
    const auto calibrationOriginals = MakeFolder(calibrationFolder, random);
    bool finished = false;
    const double fullRunMs = RunChild(calibrationFolder, -1, finished);
    ASSERT_TRUE(finished);
    ExpectNothingLost(calibrationFolder, calibrationOriginals, scratch, 0);

    constexpr int kRounds = 8;
    int killedMidway = 0;
    for (int round = 1; round <= kRounds; ++round) {
        QTemporaryDir roundFolder;
        const fs::path folder = roundFolder.path().toStdString();
        const auto originals = MakeFolder(folder, random);
        const int killAfter = static_cast<int>(random() % static_cast<unsigned>(fullRunMs + 1));
        RunChild(folder, killAfter, finished);
        killedMidway += finished ? 0 : 1;
        ExpectNothingLost(folder, originals, scratch, round);
        ExpectHiddenOriginalsRecorded(folder, originals, round);
        ExpectRecovered(folder, originals, scratch, round);
    }
    EXPECT_GT(killedMidway, 0) << "no round was interrupted";
}

}  // namespace
}  // namespace kyv::test
