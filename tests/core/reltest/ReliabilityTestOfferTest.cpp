// The reliability test is offered only for its own files, and only when none is running.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/common/OperationSetup.h"
#include "core/files/FolderPath.h"
#include "core/reltest/ReliabilityTestOffer.h"
#include "platform/Drives.h"

namespace kyv {
namespace {

TEST(ReliabilityOfferTest, OfferedOnlyForTestFilesAtTheTopOfAKyvtestFolder)
{
    QTemporaryDir floppy;
    platform::FloppyFolders floppies;
    floppies.Declare(floppy.path());
    const QString sep = QDir::separator();
    const QString folder = "/d/x" + sep + "kyvtest" + sep;
    struct Case {
        const char* name;
        QString inFolder;
        QString inSpec;
        bool encrypt;
        bool subfolders;
        bool testRunning;
        bool offered;
    };
    const Case cases[] = {
        {"tst files", folder, "*.tst", true, false, false, true},
        {"TST upper-case", folder, "*.TST", true, false, false, true},
        {"named file", folder, "test1.Tst", true, false, false, true},
        {"two points", folder, "a.b.tst", true, false, false, true},
        {"floppy", floppy.path() + sep + "kyvtest" + sep, "*.tst", true, false, false, false},
        {"folder upper-case", "/d/x" + sep + "KYVTEST" + sep, "*.tst", true, false, false, false},
        {"folder suffix only", "/d/mykyvtest2" + sep, "*.tst", true, false, false, false},
        {"subfolders", folder, "*.tst", true, true, false, false},
        {"decrypting", folder, "*.tst", false, false, false, false},
        {"test running", folder, "*.tst", true, false, true, false},
        {"other extension", folder, "*.tsx", true, false, false, false},
        {"no point", folder, "tst", true, false, false, false},
        {"extension before last point", folder, "a.tst.bak", true, false, false, false},
    };
    for (const Case& c : cases) {
        OperationSetup setup;
        setup.direction = DirectionFor(c.encrypt);
        setup.includeSubfolders = c.subfolders;
        setup.folders[kInputSide] = FilePath(c.inFolder);
        setup.fileSpecs[kInputSide] = c.inSpec;
        EXPECT_EQ(ReliabilityTestOffered(setup, c.testRunning, floppies), c.offered) << c.name;
    }
}

}  // namespace
}  // namespace kyv
