#pragma once
// A program folder with the shipped program texts, an empty application-data folder, and a context
// whose services are the fakes: what every main-window test starts from.

#include <QFile>
#include <QTemporaryDir>

#include "core/app/AppContext.h"
#include "support/FakeCipherEngine.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePrompter.h"

namespace kyv::test {

struct TestInstallation {
    QTemporaryDir program;
    QTemporaryDir appData;
    FakeCipherEngine engine;
    FakePrompter prompter;
    FakeFileDialogs fileDialogs;
    AppContext context;

    explicit TestInstallation(bool withTexts = true)
    {
        if (withTexts)
            QFile::copy(QStringLiteral(KYV_TEST_DATA "/../../data/kyve.dat"), program.filePath("kyve.dat"));
        context.environment = {program.path(), QString(), appData.path(), QString()};
        context.engine = &engine;
        context.prompter = &prompter;
        context.fileDialogs = &fileDialogs;
    }
};

}  // namespace kyv::test
