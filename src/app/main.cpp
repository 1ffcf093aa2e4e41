// Kyv Cipher: builds the program's objects and shows the main window.

#include <QApplication>

#include "core/app/AppContext.h"
#include "engine/cipher/CipherEngine.h"
#include "gui/app/frmMain.h"
#include "gui/common/MessageBoxPrompter.h"
#include "gui/common/QtFileDialogs.h"
#include "platform/Drives.h"
#include "platform/ProgramPaths.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kyv Cipher"));

    auto engine = kyv::cipher::MakeCipherEngine();
    kyv::gui::MessageBoxPrompter prompter;
    kyv::gui::QtFileDialogs fileDialogs;

    kyv::AppContext context;
    context.environment = {kyv::platform::ProgramFolder(), kyv::platform::ApplicationDataFolder(),
                           kyv::platform::FirstFixedDrive()};
    context.engine = engine.get();
    context.prompter = &prompter;
    context.fileDialogs = &fileDialogs;

    kyv::gui::frmMain window(context);
    prompter.SetParent(&window);
    fileDialogs.SetParent(&window);
    if (!window.Form_Load())
        return 1;
    return QApplication::exec();
}
