#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <set>
#include <utility>

#include "core/analysis/BytePairDrawing.h"
#include "core/analysis/ProgressBarText.h"
#include "core/files/FolderFixture.h"

namespace kyv {
namespace {

using Dots = std::set<std::pair<int, int>>;

Dots DotsOf(const BytePairPicture& picture)
{
    Dots dots;
    for (int row = 0; row < BytePairPicture::kSide; ++row)
        for (int column = 0; column < BytePairPicture::kSide; ++column)
            if (picture.Dot(column, row)) dots.insert({column, row});
    return dots;
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values) bytes.append(static_cast<char>(value));
    return bytes;
}

class BytePairDrawingTest : public ::testing::Test {
protected:
    test::FolderFixture folder_;
};

TEST_F(BytePairDrawingTest, EachPairSetsTheDotOfItsColumnAndRowAndNothingElse)
{
    // Pairs do not overlap; the first byte is the column, the second the row from the top; a
    // repeated pair is one dot; the last odd byte is never used.
    const QString file =
        folder_.MakeFile(QStringLiteral("known.bin"), Bytes({0, 0, 255, 0, 0, 255, 1, 2, 1, 2, 200, 100, 7}));
    BytePairPicture picture;
    EXPECT_EQ(DrawBytePairs(platform::FilePath(file), 13, picture), DrawingOutcome::Complete);
    EXPECT_EQ(DotsOf(picture), (Dots{{0, 0}, {255, 0}, {0, 255}, {1, 2}, {200, 100}}));
    // Row by row from the top: the dot of (255, 0) is the last pixel of the first row.
    EXPECT_EQ(picture.Pixels()[255], BytePairPicture::kWhite);
    EXPECT_EQ(picture.Pixels()[255 * 256], BytePairPicture::kWhite);
    EXPECT_EQ(picture.Pixels()[2 * 256 + 1], BytePairPicture::kWhite);
    EXPECT_EQ(picture.Pixels()[1 * 256 + 2], BytePairPicture::kBlack);
}

struct LengthCase {
    const char* what;
    QByteArray content;
    qint64 length;
    DrawingOutcome outcome;
    qint64 bytesDrawn;
    Dots dots;
};

class DrawnLength : public BytePairDrawingTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(DrawnLength, OnlyWholePairsOfBytesReadUpToTheLengthAreDrawn)
{
    const LengthCase& c = GetParam();
    const QString file = folder_.MakeFile(QStringLiteral("file.bin"), c.content);
    BytePairPicture picture;
    std::atomic<qint64> drawn{-1};
    EXPECT_EQ(DrawBytePairs(platform::FilePath(file), c.length, picture, {nullptr, &drawn, nullptr}),
              c.outcome)
        << c.what;
    EXPECT_EQ(drawn.load(), c.bytesDrawn) << c.what;
    EXPECT_EQ(DotsOf(picture), c.dots) << c.what;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lengths, DrawnLength, ::testing::Values(
    LengthCase{"1000 equal bytes: one dot on the diagonal",
               QByteArray(1000, 'A'), 1000, DrawingOutcome::Complete, 1000, {{65, 65}}},
    LengthCase{"1001 bytes are drawn as 1000",
               QByteArray(1000, 'A') + "Z", 1001, DrawingOutcome::Complete, 1000, {{65, 65}}},
    LengthCase{"bytes beyond the length (the file grew) are not read",
               QByteArray(1000, 'A') + "ZZ", 1000, DrawingOutcome::Complete, 1000, {{65, 65}}},
    LengthCase{"a file shorter than the length (it shrank) ends with a read error after its own pairs",
               QByteArray(999, 'A'), 2000, DrawingOutcome::ReadError, 998, {{65, 65}}},
    LengthCase{"an empty file that should have had bytes",
               QByteArray(), 600, DrawingOutcome::ReadError, 0, {}}));
// clang-format on

TEST_F(BytePairDrawingTest, ALargeFileDrawnInPartsOnSeveralThreadsGivesEveryPairOnce)
{
    // 32 MiB of zeros with one marked pair at the start of every 256 KiB block.
    constexpr qint64 kBlock = 256 * 1024;
    constexpr qint64 kBlocks = 128;
    const QString path = folder_.MakeFile(QStringLiteral("large.bin"), kBlocks * kBlock);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    Dots expected{{0, 0}};
    for (qint64 block = 1; block < kBlocks; ++block) {
        file.seek(block * kBlock);
        file.write(Bytes({static_cast<int>(block), static_cast<int>(255 - block)}));
        expected.insert({static_cast<int>(block), static_cast<int>(255 - block)});
    }
    file.close();
    for (const auto& [length, outcome] :
         {std::pair{kBlocks * kBlock, DrawingOutcome::Complete},
          std::pair{kBlocks * kBlock + 3 * kBlock, DrawingOutcome::ReadError}}) {
        BytePairPicture picture;
        std::atomic<qint64> drawn{0};
        EXPECT_EQ(DrawBytePairs(platform::FilePath(path), length, picture, {nullptr, &drawn, nullptr}),
                  outcome);
        EXPECT_EQ(DotsOf(picture), expected);
        if (outcome == DrawingOutcome::Complete) {
            EXPECT_EQ(drawn.load(), length);
        }
    }
}

TEST_F(BytePairDrawingTest, AFileThatCannotBeOpenedIsAReadError)
{
    BytePairPicture picture;
    EXPECT_EQ(DrawBytePairs(platform::FilePath(folder_.PathOf(QStringLiteral("missing.bin"))), 1000, picture),
              DrawingOutcome::ReadError);
    EXPECT_EQ(DrawBytePairs(platform::FilePath(folder_.MakeFolder(QStringLiteral("folder"))), 1000, picture),
              DrawingOutcome::ReadError);
    EXPECT_EQ(picture.DotCount(), 0);
}

// Waits for the drawing's Ended; false after five seconds without it.
bool WaitForEnd(BytePairDrawing& drawing, DrawingOutcome& outcome)
{
    QEventLoop loop;
    bool ended = false;
    QObject::connect(&drawing, &BytePairDrawing::Ended, &loop, [&](DrawingOutcome o) {
        outcome = o;
        ended = true;
        loop.quit();
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    return ended;
}

TEST_F(BytePairDrawingTest, TheWorkerDrawsAFileAndEndsOnTheOwnersThread)
{
    const QString file = folder_.MakeFile(QStringLiteral("pairs.bin"), Bytes({3, 4, 5, 6}));
    BytePairDrawing drawing;
    drawing.Start(platform::FilePath(file), 4);
    DrawingOutcome outcome{};
    ASSERT_TRUE(WaitForEnd(drawing, outcome));
    EXPECT_EQ(outcome, DrawingOutcome::Complete);
    EXPECT_FALSE(drawing.Running());
    EXPECT_EQ(drawing.BytesDrawn(), 4);
    BytePairPicture picture;
    drawing.CopyPicture(picture);
    EXPECT_EQ(DotsOf(picture), (Dots{{3, 4}, {5, 6}}));
}

TEST_F(BytePairDrawingTest, StopEndsADrawingOfAHugeFileEarlyAndKeepsItsDots)
{
    // 16 GiB of zeros, sparse: far more than can be drawn before the stop.
    const qint64 size = qint64{16} << 30;
    const QString file = folder_.MakeFile(QStringLiteral("huge.bin"), size);
    if (QFileInfo(file).size() != size)
        GTEST_SKIP() << "the temporary folder cannot hold a sparse 16 GiB file";
    BytePairDrawing drawing;
    drawing.Start(platform::FilePath(file), size);
    drawing.Stop();
    DrawingOutcome outcome{};
    ASSERT_TRUE(WaitForEnd(drawing, outcome));
    EXPECT_EQ(outcome, DrawingOutcome::Stopped);
    EXPECT_LT(drawing.BytesDrawn(), size);
}

TEST_F(BytePairDrawingTest, ResetDropsTheEndOfTheDrawingItEnded)
{
    const QString file = folder_.MakeFile(QStringLiteral("pairs.bin"), Bytes({3, 4}));
    BytePairDrawing drawing;
    int ends = 0;
    QObject::connect(&drawing, &BytePairDrawing::Ended, [&ends] { ++ends; });
    drawing.Start(platform::FilePath(file), 2);
    drawing.Reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(ends, 0);
    BytePairPicture picture;
    drawing.CopyPicture(picture);
    EXPECT_EQ(picture.DotCount(), 0);
}

TEST(ProgressBarTextTest, CellsFillFromTheLeftToTheNearestCell)
{
    const std::pair<std::pair<qint64, qint64>, int> cases[] = {
        {{0, 1000}, 0}, {{11, 1000}, 0}, {{12, 1000}, 1}, {{500, 1000}, 22}, {{1000, 1000}, 43}, {{5, 0}, 0}};
    for (const auto& [doneOfTotal, cells] : cases)
        EXPECT_EQ(ProgressCells(doneOfTotal.first, doneOfTotal.second), cells) << doneOfTotal.first;
    EXPECT_EQ(ProgressBarText(0), QString(43, u'_'));
    EXPECT_EQ(ProgressBarText(2), QStringLiteral("\u2588\u2588") + QString(41, u'_'));
    EXPECT_EQ(ProgressBarText(43), QString(43, QChar(0x2588)));
}

}  // namespace
}  // namespace kyv
