#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/app/StartUp.h"
#include "core/common/ProgramText.h"

namespace kyv {
namespace {

void WriteTexts(const QTemporaryDir& folder, const QByteArray& content)
{
    QFile file(folder.filePath("kyve.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// Where kyve.dat lies decides which file loads: a file beside the program (a build) is taken
// before the installed one, the installed one is found when none lies beside the program, and the
// message for none names the place beside the program.
struct LookupCase {
    const char* what;
    const char* besideProgram;  // nullptr: no file there
    const char* installed;      // nullptr: no file there
    bool loads;
    const char* text6;  // text 6 after a load, or the message's first line after a failure
};

TEST(ProgramTextLookup, TheFirstFileFoundLoads)
{
    const LookupCase cases[] = {
        {"beside the program only", "6: build\n", nullptr, true, "build"},
        {"installed only", nullptr, "6: installed\n", true, "installed"},
        {"both: the build's wins", "6: build\n", "6: installed\n", true, "build"},
        {"a broken build file is not skipped", "", "6: installed\n", false, "File is empty."},
        {"neither", nullptr, nullptr, false, "Cannot open file containing program text."},
    };
    for (const LookupCase& c : cases) {
        QTemporaryDir program;
        QTemporaryDir data;
        if (c.besideProgram) WriteTexts(program, c.besideProgram);
        if (c.installed) WriteTexts(data, c.installed);
        const ProgramPaths paths{program.path(), data.path(), QString(), QString()};

        QString message;
        ASSERT_EQ(LoadProgramTextFile(paths, message), c.loads) << c.what;
        if (c.loads) {
            EXPECT_EQ(GetText(6), QString::fromLatin1(c.text6)) << c.what;
        } else {
            EXPECT_EQ(message.section(u'\n', 0, 0), QString::fromLatin1(c.text6)) << c.what;
        }
        if (!c.besideProgram && !c.installed) {
            EXPECT_EQ(message.section(u'\n', 1), program.filePath("kyve.dat")) << c.what;
        }
    }
}

TEST(ProgramTextLookup, CandidatesAreBesideTheProgramThenInstalled)
{
    EXPECT_EQ(ProgramTextCandidates({"/opt/k/bin", "/opt/k/share/kyvcipher", QString(), QString()}),
              QStringList({"/opt/k/bin/kyve.dat", "/opt/k/share/kyvcipher/kyve.dat"}));
    EXPECT_EQ(ProgramTextCandidates({"/opt/k/bin", QString(), QString(), QString()}),
              QStringList({"/opt/k/bin/kyve.dat"}));
}

}  // namespace
}  // namespace kyv
