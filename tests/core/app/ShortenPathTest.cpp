#include "core/app/ShortenPath.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QSet>
#include <QStringList>

using namespace kyv;

namespace {

// A folder path of `length` characters made of components of `componentLength` characters.
QString FolderOfLength(int length, int componentLength)
{
    QString path = QStringLiteral("/");
    int next = 0;
    while (path.size() < length) {
        const int room = length - static_cast<int>(path.size()) - 1;
        const int take = std::min(componentLength, room);
        if (take <= 0) break;
        path += QString(take, QChar(u'a' + (next++ % 26))) + u'/';
    }
    while (path.size() < length) path.insert(1, u'x');
    return path;
}

struct LongPathCase {
    const char* name;
    QString path;
    int maximum;
};

}  // namespace

TEST(ShortenPathTest, PathsWithinTheLimitOrTinyLimitsAreUnchanged)
{
    const struct {
        QString path;
        int maximum;
    } cases[] = {
        {QString(), 70},
        {QStringLiteral("/home/user/"), 70},
        {FolderOfLength(70, 8), 70},
        {FolderOfLength(40, 8), 4},
        {FolderOfLength(40, 8), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ShortenPath(c.path, c.maximum), c.path) << c.path.toStdString();
}

TEST(ShortenPathTest, NeverLongerThanTheLimitAndKeepsRootAndLastFolder)
{
    const LongPathCase cases[] = {
        {"71 characters", FolderOfLength(71, 9), 70},
        {"many short folders", FolderOfLength(200, 2), 70},
        {"few long folders", FolderOfLength(150, 40), 70},
        {"two components", QStringLiteral("/") + QString(90, u'q') + u'/', 70},
        {"one component", QString(90, u'q'), 70},
        {"a file path", FolderOfLength(120, 6) + QStringLiteral("report.txt"), 50},
        {"smallest useful limit", FolderOfLength(60, 5), 5},
    };
    for (const LongPathCase& c : cases) {
        const QStringList original = c.path.split(u'/');
        for (quint32 seed = 1; seed <= 200; ++seed) {
            QRandomGenerator random(seed);
            const QString shown = ShortenPath(c.path, c.maximum, random);
            ASSERT_LE(shown.size(), c.maximum) << c.name << " seed " << seed;
            if (shown.endsWith(QStringLiteral("...")) && !c.path.endsWith(QStringLiteral("...")) &&
                shown.size() == c.maximum) {
                // The final cut kept the beginning: whole components (original or "...") and a
                // start of the next one.
                const QStringList kept = shown.left(shown.size() - 3).split(u'/');
                for (qsizetype i = 0; i < kept.size(); ++i) {
                    const bool whole = kept[i] == original[i] || kept[i] == QStringLiteral("...");
                    const bool start =
                        original[i].startsWith(kept[i]) || QStringLiteral("...").startsWith(kept[i]);
                    EXPECT_TRUE(i + 1 < kept.size() ? whole : start) << c.name << ": " << shown.toStdString();
                }
                EXPECT_EQ(kept.front(), original.front().left(kept.front().size()));
                continue;
            }
            // Without the cut every component is the original one at its place, or "...".
            const QStringList parts = shown.split(u'/');
            ASSERT_EQ(parts.size(), original.size()) << c.name << ": " << shown.toStdString();
            EXPECT_EQ(parts.front(), original.front());
            const qsizetype last = original.back().isEmpty() ? original.size() - 2 : original.size() - 1;
            EXPECT_EQ(parts[last], original[last]) << shown.toStdString();
            for (qsizetype i = 0; i < parts.size(); ++i)
                EXPECT_TRUE(parts[i] == original[i] || parts[i] == QStringLiteral("..."))
                    << shown.toStdString();
        }
    }
}

TEST(ShortenPathTest, ShortNamesInsideLongerNamesAreNotMangled)
{
    // "a" also occurs inside "data"; only the folder "a" itself may become "...".
    const QString path = QStringLiteral("/data/a/") + QString(30, u'b') + u'/' + QString(30, u'c') + u'/';
    for (quint32 seed = 1; seed <= 100; ++seed) {
        QRandomGenerator random(seed);
        const QString shown = ShortenPath(path, 70, random);
        EXPECT_TRUE(shown.startsWith(QStringLiteral("/data/"))) << shown.toStdString();
    }
}

TEST(ShortenPathTest, TheChoiceOfFoldersVariesFromOneDisplayToTheNext)
{
    const QString path = FolderOfLength(100, 10);
    QSet<QString> shown;
    for (quint32 seed = 1; seed <= 50; ++seed) {
        QRandomGenerator random(seed);
        shown.insert(ShortenPath(path, 70, random));
    }
    EXPECT_GT(shown.size(), 1);
}
