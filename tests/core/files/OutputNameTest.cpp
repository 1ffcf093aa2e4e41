#include <gtest/gtest.h>

#include "core/files/NameText.h"
#include "core/files/OutputName.h"

namespace kyv {
namespace {

struct MappingCase {
    const char16_t* input;
    const char16_t* spec;
    const char16_t* output;
    OutputNameStatus status;
};

TEST(MapOutputName, NamesAndStatuses)
{
    const MappingCase cases[] = {
        // The worked examples.
        {u"report.txt", u"*.enc", u"report.enc", kOutputNameMade},
        {u"report.txt", u"*.*", u"report.txt", kOutputNameEqualsInput},
        {u"README", u"*.*", u"README", kOutputNameEqualsInput},
        {u"report.txt", u"*", u"report", kOutputNameMade},
        {u"report.txt", u"*.", u"report", kOutputNameMade},
        {u"archive.tar.gz", u"*.enc", u"archive.tar.enc", kOutputNameMade},
        {u"report.txt", u"x*.*", u"xeport.txt", kOutputNameMade},
        {u"report.txt", u"??.bak", u"re.bak", kOutputNameMade},
        {u"ab.c", u"???.d", u"ab.d", kOutputNameMade},
        {u"report.txt", u"new.txt", u"new.txt", kOutputNameMade},
        {u"other.doc", u"new.txt", u"new.txt", kOutputNameMade},
        {u"report.txt", u".enc", u".enc", kOutputNameMade},
        // Letters keep their case; spaces around the file specification do not count, a name's own do.
        {u"Report.TXT", u"*.enc", u"Report.enc", kOutputNameMade},
        {u" report.txt ", u"  *.enc ", u" report.enc", kOutputNameMade},
        {u" report.txt ", u"*.*", u" report.txt ", kOutputNameEqualsInput},
        {u"notes ", u"*.bak", u"notes .bak", kOutputNameMade},
        {u"   ", u"*.enc", u"   .enc", kOutputNameMade},
        {u"my report.txt", u"*.enc", u"my report.enc", kOutputNameMade},
        {u"\u00C9t\u00E9.txt", u"*.ENC", u"\u00C9t\u00E9.ENC", kOutputNameMade},
        // Names without an extension, or beginning with a dot.
        {u"README", u"*.enc", u"README.enc", kOutputNameMade},
        {u".profile", u"*.bak", u".bak", kOutputNameMade},
        {u".profile", u"*.*", u".profile", kOutputNameEqualsInput},
        {u"report.txt", u"*.?", u"report.t", kOutputNameMade},
        // Equal only when the case is equal too.
        {u"REPORT.txt", u"report.txt", u"report.txt", kOutputNameMade},
        // Failures give no name.
        {u"", u"*.enc", u"", kInputNameEmpty},
        {u"", u"", u"", kInputNameEmpty},
        {u"report.txt", u"", u"", kOutputSpecEmpty},
        {u"report.txt", u"  ", u"", kOutputSpecEmpty},
        {u"a?.txt", u"*.enc", u"", kInputNameHasWildcard},
        {u"a*.txt", u"*.enc", u"", kInputNameHasWildcard},
        {u"report.txt", u".", u"", kOutputNameEmpty},
        {u".profile", u"?.", u"", kOutputNameEmpty},
        // Dots taken from the input name never make the output folder or its parent.
        {u".x.y", u"?.", u"", kOutputNameOutsideFolder},
        {u"..x.y", u"??.", u"", kOutputNameOutsideFolder},
    };
    for (const MappingCase& c : cases) {
        OutputNameStatus status = kOutputNameMade;
        const QString output = MapOutputName(QString::fromUtf16(c.input), QString::fromUtf16(c.spec), status);
        const std::string context =
            QString::fromUtf16(c.input).toStdString() + " with " + QString::fromUtf16(c.spec).toStdString();
        EXPECT_EQ(output, QString::fromUtf16(c.output)) << context;
        EXPECT_EQ(status, c.status) << context;
    }
}

TEST(MapOutputName, NamesThatDifferInExtensionOnlyMapToTheSameName)
{
    // The operation refuses such a folder; it compares the names lower-cased.
    OutputNameStatus first = kOutputNameEmpty;
    OutputNameStatus second = kOutputNameEmpty;
    const QString fromText = MapOutputName(QStringLiteral("a.txt"), QStringLiteral("*.enc"), first);
    const QString fromDocument = MapOutputName(QStringLiteral("A.doc"), QStringLiteral("*.enc"), second);
    EXPECT_EQ(fromText, QStringLiteral("a.enc"));
    EXPECT_EQ(fromDocument, QStringLiteral("A.enc"));
    EXPECT_EQ(LowerCaseText(fromText), LowerCaseText(fromDocument));
    EXPECT_EQ(first, kOutputNameMade);
    EXPECT_EQ(second, kOutputNameMade);
}

TEST(SubstituteWildcards, PositionalSubstitution)
{
    const struct {
        const char16_t* name;
        const char16_t* pattern;
        const char16_t* expected;
    } cases[] = {
        {u"report", u"x*", u"xeport"},
        {u"report", u"*", u"report"},
        {u"report", u"??", u"re"},
        {u"ab", u"???", u"ab"},
        {u"ab", u"?x?y?", u"axy"},
        {u"abc", u"a?c", u"abc"},
        {u"abcdef", u"?x?*", u"axcdef"},
        {u"abcdef", u"ab*", u"abcdef"},
        {u"abc", u"*tail", u"abc"},
        {u"", u"?x", u"x"},
        {u"", u"*", u""},
        {u"abc", u"", u""},
        {u"abc", u"new", u"new"},
        // Characters taken from the name are not read again as wildcards.
        {u"a?c", u"???", u"a?c"},
        {u"**", u"?*", u"**"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SubstituteWildcards(QString::fromUtf16(c.name), QString::fromUtf16(c.pattern)),
                  QString::fromUtf16(c.expected))
            << QString::fromUtf16(c.name).toStdString() << " with "
            << QString::fromUtf16(c.pattern).toStdString();
    }
}

}  // namespace
}  // namespace kyv
