#include <gtest/gtest.h>

#include <QImage>

#include "KyvRunner.h"

namespace kyv {
namespace {

using test::RunKyv;
using test::Scratch;

int WhitePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += qGray(image.pixel(x, y)) == 255 ? 1 : 0;
    return count;
}

TEST(KyvPicture, WritesTheBytePairsOfOneFileAsA256SquarePng)
{
    Scratch scratch;
    // Pairs (0,0) (255,0) (0,255) (10,20) (10,20); the odd last byte makes no dot.
    const QString file = scratch.Write(QStringLiteral("known.bin"),
                                       QByteArray("\x00\x00\xff\x00\x00\xff\x0a\x14\x0a\x14\x63", 11));
    const QString png = scratch.Path(QStringLiteral("known.png"));
    const test::KyvRun run = RunKyv({QStringLiteral("randomness"), QStringLiteral("--picture"), png, file});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    const QImage image(png);
    ASSERT_EQ(image.size(), QSize(256, 256));
    EXPECT_EQ(WhitePixels(image), 4);
    for (const QPoint dot : {QPoint(0, 0), QPoint(255, 0), QPoint(0, 255), QPoint(10, 20)})
        EXPECT_EQ(qGray(image.pixel(dot)), 255) << dot.x() << "," << dot.y();
}

TEST(KyvPicture, AMissingFileOrAnUnwritablePictureIsTold)
{
    Scratch scratch;
    const test::KyvRun missing =
        RunKyv({QStringLiteral("randomness"), QStringLiteral("--picture"),
                scratch.Path(QStringLiteral("p.png")), scratch.Path(QStringLiteral("none"))});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Randomness report: File ")))
        << missing.err.toStdString();

    const QString file = scratch.Write(QStringLiteral("a.bin"), QByteArray(600, 'a'));
    const QString nowhere = scratch.Path(QStringLiteral("no/such/folder/p.png"));
    const test::KyvRun unwritable =
        RunKyv({QStringLiteral("randomness"), QStringLiteral("--picture"), nowhere, file});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(unwritable.err,
              QStringLiteral("kyv: Error: Cannot save the picture as ") + nowhere + QStringLiteral(".\n"));
}

}  // namespace
}  // namespace kyv
