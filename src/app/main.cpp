// Kyv Cipher: builds the program's objects and shows the main window.

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>

#include "KyvVersion.h"

#include "core/app/AppContext.h"
#include "core/app/ProgramArguments.h"
#include "core/common/Clock.h"
#include "core/files/ExactPathFileDialogs.h"
#include "core/files/FolderPath.h"
#include "core/operation/PurgeAdvice.h"
#include "core/operation/RunController.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/app/MainWindow.h"
#include "gui/common/MessageBoxPrompter.h"
#include "gui/common/QtFileDialogs.h"
#include "gui/launch/ReportWindowLaunch.h"
#include "gui/operation/PurgeAdviceWindows.h"
#include "gui/operation/ReportWindow.h"
#include "gui/operation/RunWindowWiring.h"
#include "platform/CoreDumps.h"
#include "platform/DescriptorLimit.h"
#include "platform/Drives.h"
#include "platform/ProgramPaths.h"

namespace {

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace

int main(int argc, char** argv)
{
    kyv::platform::DisableCoreDumps();
    kyv::platform::RaiseDescriptorLimit();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kyv Cipher"));
    QApplication::setApplicationVersion(QString::fromLatin1(kyv::kProgramVersion));
    QGuiApplication::setDesktopFileName(QStringLiteral(KYV_DESKTOP_ID));
    QApplication::setWindowIcon(ProgramIcon());
    // For the installation check: start as usual, say so once the main window shows, and end.
    const bool quitWhenShown = QApplication::arguments().contains(QStringLiteral("--quit-when-shown"));

    auto engine = kyv::cipher::MakeCipherEngine();
    kyv::gui::MessageBoxPrompter prompter;
    kyv::gui::QtFileDialogs fileDialogs;
    kyv::ExactPathFileDialogs exactPathDialogs(fileDialogs, prompter);
    const kyv::SystemClock clock;

    kyv::AppContext context;
    context.environment = {kyv::platform::ProgramFolder(), kyv::platform::InstalledDataFolder(),
                           kyv::platform::ApplicationDataFolder(), kyv::platform::FirstFixedDrive()};
    context.engine = engine.get();
    context.prompter = &prompter;
    context.fileDialogs = &exactPathDialogs;

    kyv::gui::MainWindow window(context);
    prompter.SetParent(&window);
    fileDialogs.SetParent(&window);

    kyv::gui::ReportWindow report(context.run, context.setup, context.values, prompter, clock, &window);
    kyv::gui::ReportWindowLaunch reportLaunch(report, report, context.run);
    kyv::gui::PurgeAdviceWindows purgeWindows(&report);
    kyv::PurgeAdvice purgeAdvice(&purgeWindows);
    window.launch.reportWindow = &reportLaunch;
    window.launch.purgeAdvice = &purgeAdvice;
    window.launch.clock = &clock;
    // Runs go to a worker thread; the windows keep their events meanwhile.
    kyv::RunController runController;
    kyv::gui::AttachRunController(runController, report);
    window.launch.runController = &runController;
    window.SetReportWindow(&report);

    if (!window.StartUp()) return 1;
    // `kyvcipher [--encrypt|--decrypt] [FILE|FOLDER...]`, once the next-run setup has been read.
    // QApplication has taken its own options out of argv; the rest keep the file system's bytes.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(kyv::FromFileSystemName(argv[i]));
    const kyv::ProgramArguments parsed = kyv::ParseProgramArguments(arguments);
    for (const QString& option : parsed.unknownOptions)
        std::fprintf(stderr, "kyvcipher: unknown option %s ignored\n", qPrintable(option));
    window.OpenPaths(parsed.paths, parsed.function);
    if (quitWhenShown && window.isVisible()) {
        const QSize iconSize = window.windowIcon().actualSize(QSize(256, 256));
        std::printf("%s %s: main window shown, icon %dx%d\n", qPrintable(QApplication::applicationName()),
                    qPrintable(QApplication::applicationVersion()), iconSize.width(), iconSize.height());
        std::fflush(stdout);
        QTimer::singleShot(0, &application, &QApplication::quit);
    }
    return QApplication::exec();
}
