#include <gtest/gtest.h>

#include "core/files/FileSpecMatch.h"
#include "core/files/FolderPath.h"
#include "core/files/NameText.h"

namespace kyv {
namespace {

struct SpecCase {
    const char16_t* name;
    const char16_t* spec;
    bool matches;
};

TEST(MatchesFileSpec, NamesAgainstSpecifications)
{
    const SpecCase cases[] = {
        // "*.*" and "*." take every name; "*" only names without a dot.
        {u"report.doc", u"*.*", true},
        {u"README", u"*.*", true},
        {u"README", u"*.", true},
        {u"report.doc", u"*.", true},
        {u"README", u"*", true},
        {u"report.doc", u"*", false},
        // An extension in the file specification needs one in the name.
        {u"README", u"*.txt", false},
        {u"report.DOC", u"*.doc", true},
        {u"old.report.doc", u"*.doc", true},
        {u"report.doc.bak", u"*.doc", false},
        {u"alpha.doc", u"a*.d*", true},
        {u"a.d", u"a*.d*", true},
        {u"beta.doc", u"a*.d*", false},
        {u"alpha.txt", u"a*.d*", false},
        // Spaces around the file specification do not count; an empty one takes everything.
        {u"report.doc", u"  *.doc  ", true},
        {u"report.doc", u" report.doc", true},
        {u"report.doc", u"", true},
        {u"README", u"   ", true},
        // Spaces inside names and specifications are ordinary characters.
        {u"my report.doc", u"my report.doc", true},
        {u"my report.doc", u"my*.doc", true},
        {u"myreport.doc", u"my report.doc", false},
        {u"my report.doc", u"my?report.doc", true},
        // No backtracking: "*" stops at the first occurrence of the next literal.
        {u"banana", u"*a", false},
        {u"ba", u"*a", true},
        {u"report", u"r*o*t", true},
        {u"report.doc", u"r*t.doc", true},
        {u"abcabd.txt", u"*bd.txt", false},
        {u"report.txt", u"?eport.txt", true},
        {u"repor.txt", u"repor?.txt", false},
        {u"a", u"*?", true},
        // An empty part of the file specification matches any name part.
        {u"x.txt", u".txt", true},
        {u"x.doc", u".txt", false},
        {u"abc", u"abc.", true},
        {u"abc.doc", u"abc.", true},
        {u"abc.txt", u"abc.", true},
        {u"abd.txt", u"abc.", false},
        // Names that begin with a dot: an empty base.
        {u".profile", u"*.profile", true},
        {u".profile", u"a*.profile", false},
        {u".profile", u".profile", true},
        {u".profile", u"*.*", true},
        {u".profile", u"*", false},
        // Names without an extension.
        {u"Makefile", u"*file", true},
        {u"Makefile", u"make*", true},
        {u"Makefile", u"make*.*", true},
        {u"Makefile", u"make*.mk", false},
        {u"Makefile", u"make*.*?", false},
        // Case and accented capitals are folded.
        {u"README", u"readme", true},
        {u"\u00C9t\u00E9.txt", u"\u00E9t\u00E9.TXT", true},
        {u"CAF\u00C9.TXT", u"caf\u00E9.txt", true},
        {u"caf\u00E9.txt", u"cafe.txt", false},
        // Trailing wildcards after an exhausted name.
        {u"report.doc", u"report.doc*", true},
        {u"report.doc", u"report.doc?", false},
        {u"report.doc", u"*.do?", true},
        {u"report.do", u"*.do?", false},
        // A name holding a wildcard is never a candidate.
        {u"a?.txt", u"*.*", false},
        {u"a*.txt", u"*.txt", false},
    };
    for (const SpecCase& c : cases) {
        EXPECT_EQ(MatchesFileSpec(QString::fromUtf16(c.name), QString::fromUtf16(c.spec), false), c.matches)
            << "name \"" << QString::fromUtf16(c.name).toStdString() << "\", spec \""
            << QString::fromUtf16(c.spec).toStdString() << "\"";
    }
}

TEST(MatchesFileSpec, PathCharactersOfOtherPlatformsAreOrdinaryHere)
{
    // A name like "10:30 notes.txt" is legal here and must not drop out of an operation.
    const bool expected =
#ifdef _WIN32
        false;
#else
        true;
#endif
    EXPECT_EQ(MatchesFileSpec(QStringLiteral("10:30 notes.txt"), QStringLiteral("*.txt"), false), expected);
    EXPECT_EQ(MatchesFileSpec(QStringLiteral("a\\b.txt"), QStringLiteral("*.*"), false), expected);
}

TEST(MatchesFileSpec, CaseSensitiveFlag)
{
    EXPECT_FALSE(MatchesFileSpec(QStringLiteral("Report.doc"), QStringLiteral("report.doc"), true));
    EXPECT_TRUE(MatchesFileSpec(QStringLiteral("report.doc"), QStringLiteral("report.doc"), true));
    EXPECT_FALSE(MatchesFileSpec(QStringLiteral("report.DOC"), QStringLiteral("*.doc"), true));
}

struct PartCase {
    const char16_t* name;
    const char16_t* pattern;
    bool caseSensitive;
    bool matches;
};

TEST(MatchNamePart, PartsAgainstPatterns)
{
    const PartCase cases[] = {
        {u"", u"", false, true},
        {u"abc", u"", false, true},
        {u"", u"*", false, true},
        {u"", u"**", false, true},
        {u"", u"*?", false, false},
        {u"", u"a", false, false},
        {u"ba", u"*a", false, true},
        {u"banana", u"*a", false, false},
        {u"report", u"r*t", false, true},
        {u"report", u"?eport", false, true},
        {u"repor", u"repor?", false, false},
        {u"a", u"*?", false, true},
        // After "*" the wildcards are skipped to find the literal, then compared from there on.
        {u"abc", u"a*?c", false, false},
        {u"axbc", u"a*?c", false, false},
        {u"aXb", u"a?b", false, true},
        {u"ab", u"a?b", false, false},
        {u"abc", u"abc*", false, true},
        {u"abc", u"abc**?", false, true},
        {u"abc", u"abc?", false, false},
        {u"abcd", u"abc", false, false},
        {u"ABC", u"abc", true, false},
        {u"ABC", u"abc", false, true},
        {u"ABC", u"A*", true, true},
    };
    for (const PartCase& c : cases) {
        EXPECT_EQ(MatchNamePart(QString::fromUtf16(c.name), QString::fromUtf16(c.pattern), c.caseSensitive),
                  c.matches)
            << "name \"" << QString::fromUtf16(c.name).toStdString() << "\", pattern \""
            << QString::fromUtf16(c.pattern).toStdString() << "\"";
    }
}

struct TextCase {
    const char16_t* text;
    const char16_t* expected;
};

TEST(LowerCaseText, PlainAndAccentedText)
{
    const TextCase cases[] = {
        {u"", u""},
        {u"README.TXT", u"readme.txt"},
        {u"\u00C9t\u00E9", u"\u00E9t\u00E9"},  // Été
        {u"\u00C0\u00C9\u00CE\u00D5\u00DC\u00DD", u"\u00E0\u00E9\u00EE\u00F5\u00FC\u00FD"},
        {u"\u0160\u0152\u0178\u00C9", u"\u0161\u0153\u00FF\u00E9"},  // ŠŒŸÉ
        {u"\u00C6\u00DE\u00D0\u00C9", u"\u00E6\u00FE\u00F0\u00E9"},  // ÆÞÐÉ
        // With an accented letter present only the table's capitals change.
        {u"\u00C9\u03A9", u"\u00E9\u03A9"},  // ÉΩ
        {u"\u0130\u00C9", u"\u0130\u00E9"},  // İÉ
        // Without one the platform's lower-casing applies to everything.
        {u"\u03A9MEGA", u"\u03C9mega"},    // ΩMEGA
        {u"\u00C6ON", u"\u00E6on"},        // ÆON
        {u"STRA\u00DFE", u"stra\u00DFe"},  // ß has no capital here
        // Bytes that were not UTF-8 stay as they are: "CAF\xE9.TXT", "\xFFA\xE9B".
        {u"CAF\xDCE9"
         u".TXT",
         u"caf\xDCE9"
         u".txt"},
        {u"\xDCFF"
         u"A\xDCE9"
         u"B",
         u"\xDCFF"
         u"a\xDCE9"
         u"b"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(LowerCaseText(QString::fromUtf16(c.text)), QString::fromUtf16(c.expected))
            << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(RemoveChars, DeletesEveryCharacterOfTheSet)
{
    const struct {
        const char16_t* text;
        const char16_t* characters;
        const char16_t* expected;
    } cases[] = {
        {u"*.t*xt", u"*", u".txt"}, {u"a?b*c", u"*?", u"abc"}, {u"***", u"*", u""},
        {u"abc", u"", u"abc"},      {u"", u"*", u""},
    };
    for (const auto& c : cases) {
        QString text = QString::fromUtf16(c.text);
        RemoveChars(text, QStringView(c.characters));
        EXPECT_EQ(text, QString::fromUtf16(c.expected)) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(TrimSpaces, OnlySpacesAtBothEnds)
{
    EXPECT_EQ(TrimSpaces(QStringLiteral("  *.doc  ")), QStringLiteral("*.doc"));
    EXPECT_EQ(TrimSpaces(QStringLiteral("my report.doc")), QStringLiteral("my report.doc"));
    EXPECT_EQ(TrimSpaces(QStringLiteral("   ")), QString());
    EXPECT_EQ(TrimSpaces(QStringLiteral("\t*.doc ")), QStringLiteral("\t*.doc"));
}

TEST(SplitBaseExtension, AtTheLastDot)
{
    const struct {
        const char16_t* name;
        const char16_t* base;
        const char16_t* extension;
        bool hasDot;
    } cases[] = {
        {u"archive.tar.gz", u"archive.tar", u"gz", true},
        {u".profile", u"", u"profile", true},
        {u"README", u"README", u"", false},
        {u"abc.", u"abc", u"", true},
        {u"", u"", u"", false},
    };
    for (const auto& c : cases) {
        const BaseAndExtension parts = SplitBaseExtension(QString::fromUtf16(c.name));
        EXPECT_EQ(parts.base, QString::fromUtf16(c.base)) << QString::fromUtf16(c.name).toStdString();
        EXPECT_EQ(parts.extension, QString::fromUtf16(c.extension))
            << QString::fromUtf16(c.name).toStdString();
        EXPECT_EQ(parts.hasDot, c.hasDot) << QString::fromUtf16(c.name).toStdString();
    }
}

TEST(AddBackslash, ExactlyOneTrailingSeparator)
{
    const TextCase cases[] = {
        {u"", u""},   {u"/data", u"/data/"}, {u"/data/", u"/data/"},      {u"/data///", u"/data/"},
        {u"/", u"/"}, {u"///", u"/"},        {u"relative", u"relative/"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(AddBackslash(QString::fromUtf16(c.text)), QString::fromUtf16(c.expected));
}

TEST(NormalizePathCase, OnlyPathsWithADriveLetter)
{
    const TextCase cases[] = {
        {u"c:\\Data\\Report.DOC", u"C:\\data\\report.doc"},
        {u"d:/\u00C9t\u00E9/X.TXT", u"D:/\u00E9t\u00E9/x.txt"},
        {u"a:", u"A:"},
        {u"/home/User/File.TXT", u"/home/User/File.TXT"},
        {u"/C:/Data", u"/C:/Data"},
        {u"ab:", u"ab:"},
        {u"c", u"c"},
        {u"", u""},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(NormalizePathCase(QString::fromUtf16(c.text)), QString::fromUtf16(c.expected));
}

}  // namespace
}  // namespace kyv
