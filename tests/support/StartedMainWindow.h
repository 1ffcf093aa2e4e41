#pragma once
// A started main window over a test installation (the shipped program texts, fake services) and
// a data folder to work on: what the main window's command tests start from. For window tests
// only: the test links the main window's library.

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "gui/app/MainWindow.h"
#include "gui/common/CommandButton.h"
#include "support/ScriptedDialogs.h"
#include "support/TestInstallation.h"

namespace kyv::test {

struct StartedMainWindow : TestInstallation {
    QTemporaryDir data;
    ScriptedDialogs dialogs;
    ScriptedHelp help;
    std::unique_ptr<gui::MainWindow> window;

    // Without `start`, the test prepares the window first and then calls Start.
    explicit StartedMainWindow(bool start = true)
        : window(std::make_unique<gui::MainWindow>(context,
                                                   gui::WindowWiring{.dialogs = &dialogs, .help = &help}))
    {
        if (start) Start();
    }
    void Start()
    {
        if (!window->StartUp()) QTest::qFail("start-up failed", __FILE__, __LINE__);
        context.values.ignoreClicks = false;
    }

    QString Folder() const { return data.path() + u'/'; }
    // Makes a file of `size` bytes in the data folder; its path.
    QString File(const QString& name, qint64 size = 300) const
    {
        QFile file(data.filePath(name));
        if (file.open(QIODevice::WriteOnly)) file.write(QByteArray(static_cast<qsizetype>(size), 'x'));
        return file.fileName();
    }
    QLabel* LabelWidget(const char* name) const
    {
        return window->findChild<QLabel*>(QString::fromLatin1(name));
    }
    QString Label(const char* name) const
    {
        const QLabel* label = LabelWidget(name);
        return label ? label->text() : QStringLiteral("<no label %1>").arg(QString::fromLatin1(name));
    }
    // Clicks a command with the left button, as soon after an earlier dialog as a test likes.
    void Click(gui::MainCommand command)
    {
        context.values.ignoreClicks = false;
        QTest::mouseRelease(window->Button(command), Qt::LeftButton);
    }
    OperationSetup& Setup() { return context.setup; }
};

}  // namespace kyv::test
