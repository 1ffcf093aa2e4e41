// Names go from the file system's bytes to text and back unchanged, whatever the bytes.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/files/FolderPath.h"

namespace kyv {
namespace {

struct NameCase {
    const char* what;
    std::string bytes;
    const char* shown;
};

class FileSystemNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileSystemNameTest, GoesToTextAndBackUnchanged)
{
    const QString text = FromFileSystemName(GetParam().bytes.c_str());
    EXPECT_EQ(ToFileSystemPath(text).native(), GetParam().bytes);
    EXPECT_EQ(DisplayName(text), QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileSystemNameTest,
    ::testing::Values(NameCase{"plain", "report.txt", "report.txt"},
                      NameCase{"UTF-8, two to four bytes", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x93\x84",
                               "café € 📄"},
                      NameCase{"Latin-1", "caf\xe9.txt", "caf\\xE9.txt"},
                      NameCase{"overlong slash", "a\xc0\xaf", "a\\xC0\\xAF"},
                      NameCase{"encoded surrogate", "\xed\xa0\x80", "\\xED\\xA0\\x80"},
                      NameCase{"cut sequence at the end", "x\xe2\x82", "x\\xE2\\x82"},
                      NameCase{"beyond U+10FFFF", "\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
                      NameCase{"replacement character itself", "caf\xef\xbf\xbd", "caf\xef\xbf\xbd"}));

TEST(FileSystemNameTest, DifferentBytesNeverGiveTheSameText)
{
    const std::string names[] = {"caf\xe9", "caf\xef\xbf\xbd", "caf\xc3\xa9", "caf\\xE9", "caf?"};
    std::set<QString> texts;
    for (const std::string& name : names) texts.insert(FromFileSystemName(name.c_str()));
    EXPECT_EQ(texts.size(), std::size(names));
}

}  // namespace
}  // namespace kyv
