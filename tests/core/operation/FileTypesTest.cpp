#include <gtest/gtest.h>

#include "core/operation/FileTypes.h"

namespace kyv {
namespace {

struct ExtensionCase {
    const char* path;
    bool lower;
    const char* extension;
};

class GetFileExtensionTest : public ::testing::TestWithParam<ExtensionCase> {};

TEST_P(GetFileExtensionTest, TakesThePartAfterTheLastPointOfTheName)
{
    EXPECT_EQ(GetFileExtension(QString::fromUtf8(GetParam().path), GetParam().lower),
              QString::fromUtf8(GetParam().extension));
}

INSTANTIATE_TEST_SUITE_P(Table, GetFileExtensionTest,
                         ::testing::Values(ExtensionCase{"/data/report.INI", true, "ini"},
                                           ExtensionCase{"/data/report.INI", false, "INI"},
                                           ExtensionCase{"/data/archive.tar.gz", true, "gz"},
                                           ExtensionCase{"/data.d/README", true, ""},
                                           ExtensionCase{"C:\\data.d\\README", true, ""},
                                           ExtensionCase{"/data/.profile", true, "profile"},
                                           ExtensionCase{"/data/name.", true, ""}));

struct SensitiveCase {
    const char* name;
    bool sensitive;
};

class AntivirusSensitiveTest : public ::testing::TestWithParam<SensitiveCase> {};

TEST_P(AntivirusSensitiveTest, KnowsTheWatchedTypes)
{
    EXPECT_EQ(IsAntivirusSensitiveType(QString::fromUtf8(GetParam().name)), GetParam().sensitive);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AntivirusSensitiveTest,
    ::testing::Values(SensitiveCase{"letter.doc", true}, SensitiveCase{"/a/letter.DOC", true},
                      SensitiveCase{"sheet.xls", true}, SensitiveCase{"sheet.xlw", true},
                      SensitiveCase{"overlay.ovr", true}, SensitiveCase{"driver.386", true},
                      SensitiveCase{"notes.txt", false}, SensitiveCase{"letter.docx", false},
                      SensitiveCase{"doc", false}, SensitiveCase{"x.xl", false},
                      SensitiveCase{"/a.doc/b", false}, SensitiveCase{"archive.zip", false}));

TEST(ProtectedExtensionsTest, RefusesTheElevenSystemTypesOnly)
{
    ProtectedExtensions table;
    for (const char* extension :
         {"bat", "bin", "com", "dll", "drv", "exe", "ini", "ovl", "pif", "swp", "sys"})
        EXPECT_TRUE(table.Contains(QString::fromLatin1(extension))) << extension;
    for (const char* extension : {"", "doc", "txt", "EXE", "ex"})
        EXPECT_FALSE(table.Contains(QString::fromLatin1(extension))) << extension;
}

}  // namespace
}  // namespace kyv
