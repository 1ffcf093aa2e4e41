#pragma once
// A program folder with the shipped program texts, an empty application-data folder, and a context
// whose services are the fakes: what every main-window test starts from.

#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "core/app/AppContext.h"
#include "core/common/Clock.h"
#include "core/common/ProgramPaths.h"
#include "core/launch/LaunchTestDoubles.h"
#include "engine/cipher/CipherEngine.h"
#include "platform/Drives.h"
#include "support/FakeCipherEngine.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePrompter.h"

namespace kyv::test {

// The program's own engine at a cheap key derivation, for tests that run the real cipher.
inline std::unique_ptr<cipher::CipherEngine> QuickProgramEngine()
{
    return cipher::MakeCipherEngine(cipher::KdfPolicy{cipher::KdfCost{1, 13}, cipher::KdfCost{2, 16}});
}

struct TestInstallation {
    QTemporaryDir program;
    QTemporaryDir appData;
    FakeCipherEngine engine;
    FakePrompter prompter;
    FakeFileDialogs fileDialogs;
    SystemClock clock;
    FixedFreeSpace freeSpace;
    ProgramPaths paths{program.path(), QString(), appData.path(), QString()};
    // The program's engine where a test gives one, in place of the fake.
    std::unique_ptr<cipher::CipherEngine> realEngine;
    platform::FloppyFolders floppies;
    Services services{clock, prompter, fileDialogs, freeSpace, paths, EngineInUse(), floppies};
    AppContext context{services};

    explicit TestInstallation(bool withTexts = true,
                              std::unique_ptr<cipher::CipherEngine> programEngine = nullptr)
        : realEngine(std::move(programEngine))
    {
        if (withTexts)
            QFile::copy(QStringLiteral(KYV_TEST_DATA "/../../data/kyve.dat"), program.filePath("kyve.dat"));
    }

    cipher::CipherEngine& EngineInUse()
    {
        if (realEngine) return *realEngine;
        return engine;
    }
};

}  // namespace kyv::test
