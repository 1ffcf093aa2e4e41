#include <gtest/gtest.h>

#include <QLocale>
#include <QRegularExpression>

#include "KyvRunner.h"
#include "core/common/Clock.h"
#include "core/common/OperationSetup.h"
#include "core/operation/BatchDriver.h"
#include "core/operation/OperationContext.h"
#include "core/operation/RunState.h"
#include "support/FakePrompter.h"
#include "support/RecordingReportSink.h"

namespace kyv {
namespace {

using test::RunKyv;

class KyvRandomness : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_.Write(QStringLiteral("small.txt"), test::PlainText(100));
        s_.Write(QStringLiteral("Letter.TXT"), test::PlainText(1000));
        s_.Write(QStringLiteral("noise.bin"), test::RandomBytes(5000, 7));
        s_.Write(QStringLiteral("sub/deep.txt"), test::PlainText(2000));
        s_.Write(QStringLiteral("sub/lower/edge.txt"), test::PlainText(255));
    }

    // The report the program's randomness report writes for the same folder.
    QStringList ProgramReport(bool subfolders) const
    {
        // kyv runs in the "C" locale, whose numbers the program groups as US English does.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        OperationSetup setup;
        setup.includeSubfolders = subfolders;
        WorkingValues working;
        RunState state;
        state.request.kind = RunKind::RandomnessListing;
        state.request.inputFolder = kyv::platform::FilePath(s_.Folder());
        state.request.inputSpec = QStringLiteral("*.*");
        test::RecordingReportSink sink;
        test::FakePrompter prompter;
        SystemClock clock;
        OperationContext context{setup,   working, state, sink, prompter, clock,
                                 nullptr, nullptr, {},    {},   nullptr,  {}};
        ProcessFiles(context);
        QLocale::setDefault(QLocale::system());
        QString text = sink.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        return test::ReportLinesWithoutDate(text);
    }

    QStringList Listing(const QStringList& lines, const QString& name) const
    {
        return lines.filter(QRegularExpression(QStringLiteral("(^| )") + QRegularExpression::escape(name) +
                                               QStringLiteral(" \\(")));
    }

    test::Scratch s_;
};

TEST_F(KyvRandomness, ListsEveryFolderAsTheReportWindowDoes)
{
    const test::KyvRun run =
        RunKyv({QStringLiteral("randomness"), QStringLiteral("--subfolders"), s_.Folder()});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QStringList lines = test::ReportLinesWithoutDate(run.out);
    EXPECT_EQ(lines, ProgramReport(true));

    // Each folder with matching files: its path, its files, an empty line.
    for (const QString& folder :
         {s_.Folder(), s_.Folder(QStringLiteral("sub")), s_.Folder(QStringLiteral("sub/lower"))}) {
        SCOPED_TRACE(folder.toStdString());
        const qsizetype at = lines.indexOf(folder);
        ASSERT_GE(at, 0);
        const qsizetype blank = lines.indexOf(QString(), at);
        ASSERT_GT(blank, at + 1);
        for (qsizetype i = at + 1; i < blank; ++i)
            EXPECT_TRUE(lines[i].endsWith(QStringLiteral(" bytes)   "))) << lines[i].toStdString();
    }
    const struct {
        const char* name;
        const char* pattern;
    } expected[] = {
        {"small.txt", "^        small\\.txt \\(100 bytes\\)   $"},
        {"edge.txt", "^        edge\\.txt \\(255 bytes\\)   $"},
        {"letter.txt", "^0\\.([0-7]\\d\\d|8[0-8]\\d|890)   letter\\.txt \\(1,000 bytes\\)   $"},
        {"deep.txt", "^0\\.([0-7]\\d\\d|8[0-8]\\d|890)   deep\\.txt \\(2,000 bytes\\)   $"},
        {"noise.bin", "^(0\\.(89[1-9]|9\\d\\d)|1\\.000) \\* noise\\.bin \\(5,000 bytes\\)   $"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        const QStringList found = Listing(lines, QString::fromUtf8(e.name));
        ASSERT_EQ(found.size(), 1);
        EXPECT_TRUE(QRegularExpression(QString::fromUtf8(e.pattern)).match(found[0]).hasMatch())
            << found[0].toStdString();
    }
}

TEST_F(KyvRandomness, WithoutSubfoldersOnlyTheFolderItself)
{
    const test::KyvRun run = RunKyv({QStringLiteral("randomness"), s_.Folder(), QStringLiteral("*.txt")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = test::ReportLinesWithoutDate(run.out);
    EXPECT_EQ(lines.first(), s_.Folder());
    EXPECT_EQ(Listing(lines, QStringLiteral("small.txt")).size(), 1);
    EXPECT_EQ(Listing(lines, QStringLiteral("letter.txt")).size(), 1);
    EXPECT_TRUE(Listing(lines, QStringLiteral("noise.bin")).isEmpty());
    EXPECT_TRUE(Listing(lines, QStringLiteral("deep.txt")).isEmpty());
}

struct NothingCase {
    const char* spec;
    bool subfolders;
    QString message;  // empty: the listing runs
    int exitCode;
};

TEST_F(KyvRandomness, SpecificationWithoutFilesIsRefusedUnlessSubfoldersAreIncluded)
{
    const NothingCase cases[] = {
        {"missing.doc", false, QStringLiteral("kyv: Randomness report: File missing.doc not found.\n"), 2},
        {"*.doc", false,
         QStringLiteral("kyv: Randomness report: There are no files in %1 matching *.doc.\n")
             .arg(s_.Folder()),
         2},
        // Listed, but nothing found: no file was processed.
        {"*.doc", true, QString(), 1},
    };
    for (const NothingCase& c : cases) {
        SCOPED_TRACE(c.spec);
        QStringList arguments{QStringLiteral("randomness"), s_.Folder(), QString::fromUtf8(c.spec)};
        if (c.subfolders) arguments.insert(1, QStringLiteral("--subfolders"));
        const test::KyvRun run = RunKyv(arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err, c.message);
        EXPECT_EQ(run.out.isEmpty(), !c.message.isEmpty());
    }
    const test::KyvRun unreadable = RunKyv({QStringLiteral("randomness"), s_.Path(QStringLiteral("gone"))});
    EXPECT_EQ(unreadable.exitCode, 2);
    EXPECT_EQ(unreadable.err, QStringLiteral("kyv: Error: Cannot access the input folder.\n"));
}

}  // namespace
}  // namespace kyv
