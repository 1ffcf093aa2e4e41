// Encrypting small files ahead of the report must change nothing anyone can see: the same report,
// the same outputs, and nothing left behind, whatever ends the run.

#include <QMap>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "core/operation/EncryptionLane.h"
#include "core/operation/OperationFixture.h"

namespace kyv::test {
namespace {

namespace fs = std::filesystem;

struct AheadCase {
    const char* what;
    const char* diskFullOn;      // the engine answers DiskFull for this file
    const char* throwsOn;        // the engine throws on this file
    const char* growsWhileRead;  // written to during its engine call
    int stopAtPausePoint;        // Stop pressed at this pause point; 0: never
};

void PrintTo(const AheadCase& c, std::ostream* out) { *out << c.what; }

struct RunSeen {
    QString report;
    QMap<QString, std::string> files;
    std::size_t messages = 0;
    int callsOffTheWalk = 0;
};

class WorkAheadTest : public OperationFixture, public ::testing::WithParamInterface<AheadCase> {
protected:
    RunSeen RunIn(const QString& folder, bool ahead)
    {
        const AheadCase& c = GetParam();
        // An empty file, a file large enough to be done on the walk's thread, and small ones.
        const std::vector<std::pair<const char*, std::size_t>> files = {
            {"a.txt", 40}, {"b.txt", 0},  {"c.txt", 41}, {"d.txt", EncryptionLane::kLargestFile + 10},
            {"e.txt", 42}, {"f.txt", 43}, {"g.txt", 44}, {"h.txt", 45}};
        for (const auto& [name, size] : files)
            Write(folder + QLatin1Char('/') + QLatin1String(name), PlainBytes(size, name[0]));
        engine_.allowsWorkAhead = ahead;
        engine_.forcedResults.clear();
        if (c.diskFullOn != nullptr)
            engine_.forcedResults.insert(QLatin1String(c.diskFullOn), cipher::CipherResult::DiskFull);
        RunSeen seen;
        const std::thread::id walk = std::this_thread::get_id();
        engine_.duringCall = [&](const fs::path& input) {
            if (std::this_thread::get_id() != walk) ++seen.callsOffTheWalk;
            const std::string name = input.filename().string();
            if (c.throwsOn != nullptr && name == c.throwsOn) throw std::runtime_error("The engine broke.");
            if (c.growsWhileRead != nullptr && name == c.growsWhileRead)
                std::ofstream(input, std::ios::app) << "more";
        };
        sink_.onPausePoint = [&c, count = 0](RecordingReportSink& sink) mutable {
            if (++count == c.stopAtPausePoint) sink.stop = true;
        };
        prompter_.messages.clear();
        Select(Root() + folder, QStringLiteral("*.txt"), Root() + folder, QStringLiteral("*.enc"));
        Run();

        seen.report = ReportBody().replace(Root() + folder, QStringLiteral("FOLDER"));
        for (const auto& entry : fs::directory_iterator(Path(folder)))
            seen.files.insert(QString::fromStdString(entry.path().filename().string()),
                              ReadWholeFile(entry.path()));
        seen.messages = prompter_.messages.size();
        return seen;
    }
};

TEST_P(WorkAheadTest, ReportAndOutputsAreThoseOfOneFileAfterAnother)
{
    if (!EncryptionLane::Worthwhile()) GTEST_SKIP() << "one core: files are not worked on ahead";
    const RunSeen oneByOne = RunIn(QStringLiteral("one-by-one"), false);
    const RunSeen ahead = RunIn(QStringLiteral("ahead"), true);

    EXPECT_EQ(oneByOne.callsOffTheWalk, 0);
    EXPECT_GT(ahead.callsOffTheWalk, 0) << "the files were not worked on ahead";
    EXPECT_EQ(ahead.report, oneByOne.report);
    EXPECT_EQ(ahead.files.keys(), oneByOne.files.keys());
    for (const QString& name : oneByOne.files.keys())
        EXPECT_TRUE(ahead.files.value(name) == oneByOne.files.value(name)) << "differs: " << name.toStdString();
    EXPECT_EQ(ahead.messages, oneByOne.messages);
    for (const QString& name : ahead.files.keys())
        EXPECT_FALSE(name.contains(QStringLiteral(".kyvpart-"))) << "left behind: " << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Runs, WorkAheadTest,
    ::testing::Values(AheadCase{"FailuresAndAChangedFile", "c.txt", nullptr, "e.txt", 0},
                      AheadCase{"StopAfterTheFirstFile", nullptr, nullptr, nullptr, 1},
                      AheadCase{"StopAfterTheLargeFile", nullptr, nullptr, nullptr, 4},
                      AheadCase{"StopAfterTheSmallFileBeforeTheLast", nullptr, nullptr, nullptr, 7},
                      AheadCase{"TheEngineThrows", nullptr, "f.txt", nullptr, 0}),
    [](const ::testing::TestParamInfo<AheadCase>& run) { return std::string(run.param.what); });

}  // namespace
}  // namespace kyv::test
