#pragma once
// A launch on real folders with every person-facing seam scripted and the engine faked (or real,
// for the end-to-end cases).

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "core/common/Clock.h"
#include "core/common/OperationSetup.h"
#include "core/common/ProgramPaths.h"
#include "core/common/Services.h"
#include "core/files/FolderPath.h"
#include "core/launch/LaunchTestDoubles.h"
#include "core/launch/OperationLaunch.h"
#include "platform/Drives.h"
#include "support/FakeCipherEngine.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePrompter.h"

namespace kyv::test {

class LaunchFixture : public ::testing::Test {
public:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString Root() const { return QDir(folder.path()).absolutePath() + QLatin1Char('/'); }
    QString Folder(const QString& relative) const
    {
        QDir().mkpath(Root() + relative);
        return Root() + relative + QLatin1Char('/');
    }
    void Write(const QString& relative, const QByteArray& bytes) const
    {
        const QString path = Root() + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    void Write(const QString& relative, qint64 size) const { Write(relative, QByteArray(size, 'k')); }
    QByteArray Read(const QString& relative) const
    {
        QFile file(Root() + relative);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    bool Exists(const QString& relative) const { return QFileInfo::exists(Root() + relative); }

    void Select(const QString& inFolder, const QString& inSpec, const QString& outFolder,
                const QString& outSpec)
    {
        setup.folders = {FilePath(inFolder), FilePath(outFolder)};
        setup.fileSpecs = {inSpec, outSpec};
    }
    // Everything the checks need: files, a key and separate output files in the same folder.
    void ReadyToEncrypt(const QString& outSpec = QStringLiteral("*.enc"))
    {
        Write(QStringLiteral("a.txt"), 100);
        Write(QStringLiteral("b.txt"), 200);
        Select(Root(), QStringLiteral("*.txt"), Root(), outSpec);
        TypeKey(key, "sixteen chars ok");
    }

    LaunchResult Launch()
    {
        const Services services{clock, prompter, fileDialogs, freeSpace, paths, *engine, floppies};
        return LaunchOperation(LaunchContext{setup, working, key, report, services}, hooks);
    }

    QStringList MessageTexts() const
    {
        QStringList texts;
        for (const Message& message : prompter.messages) texts.append(message.text);
        return texts;
    }

    QTemporaryDir folder;
    OperationSetup setup;
    WorkingValues working;
    KeyState key;
    FakePrompter prompter;
    RecordingReportWindow report;
    FakeCipherEngine fakeEngine;
    cipher::CipherEngine* engine = &fakeEngine;
    SystemClock clock;
    FixedFreeSpace freeSpace;
    FakeFileDialogs fileDialogs;
    ProgramPaths paths;
    platform::FloppyFolders floppies;
    ScriptedConfirmer confirmer;
    LaunchHooks hooks{{}, {}, &confirmer};
};

}  // namespace kyv::test
