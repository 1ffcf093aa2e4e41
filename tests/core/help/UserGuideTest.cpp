#include "core/help/UserGuide.h"

#include <gtest/gtest.h>

#include "KyvVersion.h"
#include "core/help/CreditsNotice.h"

namespace kyv {
namespace {

HelpTopic Section(int number) { return static_cast<HelpTopic>(number); }

TEST(UserGuideTest, TheBuiltInGuideHasEachHeadingOnceInOrderOnALineOfItsOwnAfterAnEmptyLine)
{
    const QString& text = UserGuide::BuiltIn().Text();
    ASSERT_FALSE(text.isEmpty()) << "the guide is not built into the program";
    qsizetype previous = -1;
    for (int section = 1; section <= kHelpSectionCount; ++section) {
        const QString heading = UserGuide::Heading(Section(section));
        SCOPED_TRACE(heading.toStdString());
        const QString line = QStringLiteral("\n\n") + heading + u'\n';
        const qsizetype at = text.indexOf(heading);
        ASSERT_GE(at, 0) << "missing";
        EXPECT_EQ(text.indexOf(heading, at + 1), -1) << "more than once";
        EXPECT_EQ(text.indexOf(line), at - 2) << "not on a line of its own after an empty line";
        EXPECT_GT(at, previous) << "out of order";
        previous = at;
    }
    // The opening comes first, and every section says something of its own.
    EXPECT_GT(text.indexOf(UserGuide::Heading(HelpTopic::Function)), 200);
    for (int section = 1; section <= kHelpSectionCount; ++section) {
        if (Section(section) == HelpTopic::LoadingSetup) continue;
        EXPECT_GT(UserGuide::BuiltIn().SelectionAt(Section(section)).length,
                  UserGuide::Heading(Section(section)).size() + 200)
            << section;
    }
}

// A guide of one-line sections: where each heading starts, and where its section ends.
struct SmallGuide {
    QString text = QStringLiteral("Opening.\n");
    std::array<int, kHelpSectionCount + 1> starts{};
    std::array<int, kHelpSectionCount + 1> ends{};

    SmallGuide()
    {
        for (int section = 1; section <= kHelpSectionCount; ++section) {
            text += u'\n';
            starts[section] = static_cast<int>(text.size());
            text += UserGuide::Heading(Section(section)) + QStringLiteral("\nBody %1.").arg(section);
            ends[section] = static_cast<int>(text.size());
            text += QStringLiteral("\n \n");
        }
    }
};

TEST(UserGuideTest, ASectionIsSelectedFromItsHeadingToItsLastCharacter)
{
    const SmallGuide small;
    const UserGuide guide(small.text);
    for (int section = 1; section <= kHelpSectionCount; ++section) {
        const int length = section == 12 ? 0 : small.ends[section] - small.starts[section];
        EXPECT_EQ(guide.SelectionAt(Section(section)), (UserGuide::Selection{small.starts[section], length}))
            << section;
    }
    EXPECT_EQ(guide.SelectionAt(HelpTopic::Beginning), (UserGuide::Selection{0, 0}));
}

TEST(CreditsNoticeTest, NamesTheProgramsVersionAndEachLibraryWithItsLicence)
{
    const QString notice = CreditsNotice();
    EXPECT_TRUE(
        notice.startsWith(QStringLiteral("Kyv Cipher, version %1\n").arg(QLatin1String(kProgramVersion))))
        << notice.left(80).toStdString();
    EXPECT_FALSE(notice.contains(u'@')) << "a placeholder was left";
    const std::pair<const char*, const char*> libraries[] = {
        {"Qt 6", "GNU Lesser General Public License version 3"},
        {"libsodium", "ISC licence"},
        {"OpenSSL libcrypto", "Apache License 2.0"},
        {"libzxcvbn", "MIT licence"},
    };
    for (const auto& [library, licence] : libraries) {
        const qsizetype at = notice.indexOf(QLatin1String(library));
        ASSERT_GE(at, 0) << library;
        // The licence is named in the library's own paragraph.
        const qsizetype paragraphEnd = notice.indexOf(QStringLiteral("\n\n"), at);
        EXPECT_GE(notice.left(paragraphEnd).indexOf(QLatin1String(licence), at), at) << library;
    }
}

}  // namespace
}  // namespace kyv
