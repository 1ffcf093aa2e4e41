#pragma once
// A real temporary folder, a scripted prompter and report sink, a fake engine and clock: what
// ProcessFiles and ProcessFolder need to run in a test.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <array>
#include <deque>
#include <filesystem>

#include "core/common/Clock.h"
#include "core/common/OperationSetup.h"
#include "core/files/FolderPath.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/FolderProcessor.h"
#include "core/operation/OperationContext.h"
#include "core/operation/OperationWalk.h"
#include "core/operation/PurgeAdvice.h"
#include "core/operation/RunState.h"
#include "support/FakeCipherEngine.h"
#include "support/FakePrompter.h"
#include "support/RecordingReportSink.h"

namespace kyv::test {

class FakeClock final : public Clock {
public:
    QDateTime Now() const override { return now; }
    void Advance(double seconds) { now = now.addMSecs(static_cast<qint64>(seconds * 1000.0)); }
    QDateTime now{QDate(2024, 3, 14), QTime(10, 0, 0)};
};

class FakePurgeAdviceDialogs final : public PurgeAdviceDialogs {
public:
    AntivirusAnswer AskAntivirusQuery() override
    {
        ++queries;
        if (answers.empty()) {
            ADD_FAILURE() << "unscripted antivirus query";
            return AntivirusAnswer::No;
        }
        const AntivirusAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool ShowPurgeWarning(const QString& path, bool) override
    {
        advisedPaths.append(path);
        if (onAdvice) onAdvice();
        return dontShowAgainChecked;
    }

    std::deque<AntivirusAnswer> answers;
    bool dontShowAgainChecked = false;
    int queries = 0;
    QStringList advisedPaths;
    std::function<void()> onAdvice;
};

class OperationFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        setup_.direction = Direction::Encrypt;
    }

    QString Root() const { return QDir(folder_.path()).absolutePath() + QLatin1Char('/'); }
    std::filesystem::path Path(const QString& relative) const { return (Root() + relative).toStdString(); }
    void Write(const QString& relative, const std::string& bytes)
    {
        std::filesystem::create_directories(Path(relative).parent_path());
        WriteWholeFile(Path(relative), bytes);
    }
    std::string Read(const QString& relative) const { return ReadWholeFile(Path(relative)); }
    bool Exists(const QString& relative) const { return std::filesystem::exists(Path(relative)); }

    // In place over `spec` in the root folder.
    void InPlace(bool encrypt, const QString& spec = QStringLiteral("*.*"))
    {
        setup_.direction = DirectionFor(encrypt);
        setup_.inPlace = true;
        Select(Root(), spec, Root(), spec);
    }
    void Select(const QString& inFolder, const QString& inSpec, const QString& outFolder,
                const QString& outSpec)
    {
        state_.request.inputFolder = FilePath(inFolder);
        state_.request.inputSpec = inSpec;
        state_.request.outputFolder = FilePath(outFolder);
        state_.request.outputSpec = outSpec;
    }

    void Run()
    {
        state_.request.kind = RunKind::Operation;
        ProcessFiles(context_);
    }
    // The estimate "Do it!" makes before the run, from the operation's folder plans.
    SizeEstimate EstimateSizes() const
    {
        return EstimateSize(PlanFolders(OperationWalkRequest(setup_, state_.request)), setup_.inPlace);
    }

    // The report without the date line that closes it.
    QString ReportBody() const
    {
        const qsizetype dateLine = sink_.text.lastIndexOf(QStringLiteral("\r\n\r\n"));
        return dateLine < 0 ? sink_.text : sink_.text.left(dateLine + 2);
    }

    QTemporaryDir folder_;
    OperationSetup setup_;
    WorkingValues working_;
    RunState state_;
    RecordingReportSink sink_;
    FakePrompter prompter_;
    FakeClock clock_;
    FakeCipherEngine engine_;
    FakePurgeAdviceDialogs dialogs_;
    PurgeAdvice purgeAdvice_{&dialogs_};
    cipher::Key key_ = EngineKeyOf(std::string(cipher::kKeyLength, 'A'));
    OperationContext context_{setup_,   working_, state_, sink_, prompter_,     clock_,
                              &engine_, &key_,    {},     {},    &purgeAdvice_, {}};
};

}  // namespace kyv::test
