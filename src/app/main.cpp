// Kyv Cipher: builds the program's objects and shows the main window.

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "KyvVersion.h"

#include "core/app/AppContext.h"
#include "core/app/ProgramArguments.h"
#include "core/common/Clock.h"
#include "core/common/ProgramPaths.h"
#include "core/common/Services.h"
#include "core/files/ExactPathFileDialogs.h"
#include "core/files/FolderPath.h"
#include "core/launch/FreeSpaceSource.h"
#include "core/operation/RunController.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/app/MainWindow.h"
#include "gui/common/MessageBoxPrompter.h"
#include "gui/common/QtFileDialogs.h"
#include "gui/operation/RunWindowWiring.h"
#include "platform/CoreDumps.h"
#include "platform/DescriptorLimit.h"
#include "platform/Drives.h"

namespace {

// Stands in for the engine when its guarded memory could not be had: start-up then tells so and the
// program ends before anything could ask it for work.
class NoEngine final : public kyv::cipher::CipherEngine {
public:
    kyv::cipher::Outcome Encrypt(const kyv::cipher::Key&, const std::filesystem::path&,
                                 const std::filesystem::path&) override
    {
        return {kyv::cipher::CipherResult::OutputCannotBeOpened};
    }
    kyv::cipher::Outcome Decrypt(const kyv::cipher::Key&, const std::filesystem::path&,
                                 const std::filesystem::path&) override
    {
        return {kyv::cipher::CipherResult::OutputCannotBeOpened};
    }
    kyv::cipher::Outcome Verify(const kyv::cipher::Key&, const std::filesystem::path&) override
    {
        return {kyv::cipher::CipherResult::InputCannotBeOpened};
    }
    void WipeKeys() override {}
    std::uint64_t BytesProcessed() const override { return 0; }
};

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

    const std::unique_ptr<kyv::cipher::CipherEngine> engine = kyv::cipher::MakeCipherEngine();
    NoEngine noEngine;
    // Message boxes and file dialogs open over the main window, made below with these services.
    const kyv::gui::DialogOwner mainWindow{nullptr, kyv::gui::MainWindowName()};
    kyv::gui::MessageBoxPrompter prompter(mainWindow);
    kyv::gui::QtFileDialogs fileDialogs(mainWindow);
    kyv::ExactPathFileDialogs exactPathDialogs(fileDialogs, prompter);
    const kyv::SystemClock clock;
    kyv::DriveFreeSpace freeSpace;
    const kyv::ProgramPaths paths = kyv::RunningProgramPaths();
    const kyv::platform::FloppyFolders noFloppies;
    const kyv::Services services{
        clock, prompter, exactPathDialogs, freeSpace, paths, engine ? *engine : noEngine, noFloppies};
    kyv::AppContext context(services);

    // Runs go to a worker thread; the windows keep their events meanwhile.
    kyv::RunController runController(&kyv::gui::WaitForRunEnd);
    kyv::gui::WindowWiring wiring;
    wiring.runController = &runController;
    wiring.advisePurges = true;
    kyv::gui::MainWindow window(context, wiring);

    if (!window.StartUp(engine ? kyv::gui::EngineBuffers::Had : kyv::gui::EngineBuffers::Refused)) return 1;
    // `kyvcipher [--encrypt|--decrypt] [FILE|FOLDER...]`, once the next-run setup has been read.
    // QApplication has taken its own options out of argv; the rest keep the file system's bytes.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(kyv::platform::FilePath::TextOf(argv[i]));
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
