#include "core/app/ExtensionEntry.h"

#include <gtest/gtest.h>

#include "core/app/PathParts.h"

using namespace kyv;

TEST(ExtensionEntryTest, TypedExtensionsAreCleanedOrRefused)
{
    const struct {
        const char* typed;
        const char* trimmed;
        const char* extension;
        bool refused;
    } cases[] = {
        {"*.DOC", "*.DOC", "DOC", false},
        {".DOC", ".DOC", "DOC", false},
        {"  DOC  ", "DOC", "DOC", false},
        {" *.enc ", "*.enc", "enc", false},
        {"", "", "", false},
        {"   ", "", "", false},
        {"*.", "*.", "", false},
        {"tar.gz", "tar.gz", "tar.gz", true},
        {"*.tar.gz", "*.tar.gz", "tar.gz", true},
        {"..doc", "..doc", ".doc", true},
    };
    for (const auto& c : cases) {
        const CleanedExtension cleaned = CleanExtension(QString::fromLatin1(c.typed));
        EXPECT_EQ(cleaned.trimmed, QString::fromLatin1(c.trimmed)) << c.typed;
        EXPECT_EQ(cleaned.extension, QString::fromLatin1(c.extension)) << c.typed;
        EXPECT_EQ(cleaned.refused, c.refused) << c.typed;
    }
    EXPECT_EQ(ExtensionRefusalText(), QStringLiteral("Extension must not contain \".\"."));
}

TEST(ExtensionEntryTest, OutputSpecificationFromAnExtension)
{
    const struct {
        const char* inputSpec;
        const char* expected;
    } cases[] = {
        {"report.txt", "report.enc"},
        {"*.txt", "*.enc"},
        {"", "*.enc"},
        {"README", "README.enc"},
        {"archive.tar.gz", "archive.tar.enc"},
        {"a?c.txt", "*.enc"},
        {"notes.", "notes.enc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OutputSpecWithExtension(QString::fromLatin1(c.inputSpec), QStringLiteral("enc")),
                  QString::fromLatin1(c.expected))
            << c.inputSpec;
}

TEST(PathPartsTest, FolderAndNameOfAChosenFile)
{
    const struct {
        const char* path;
        const char* folder;
        const char* name;
    } cases[] = {
        {"/home/user/report.doc", "/home/user/", "report.doc"},
        {"/report.doc", "/", "report.doc"},
        {"/home/user/", "/home/user/", ""},
        {"report.doc", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetFolderPart(QString::fromLatin1(c.path)), QString::fromLatin1(c.folder)) << c.path;
        EXPECT_EQ(GetFileNamePart(QString::fromLatin1(c.path)), QString::fromLatin1(c.name)) << c.path;
    }
    EXPECT_TRUE(ContainsWildcard(QStringLiteral("a?.txt")));
    EXPECT_TRUE(ContainsWildcard(QStringLiteral("*.txt")));
    EXPECT_FALSE(ContainsWildcard(QStringLiteral("a.txt")));
}
