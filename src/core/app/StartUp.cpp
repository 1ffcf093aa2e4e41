#include "core/app/StartUp.h"

#include <QDir>
#include <QFileInfo>

#include "core/common/ProgramText.h"

namespace kyv {

namespace {
constexpr int kNotSpecifiedText = 7;
constexpr int kKeyLinePrefixText = 6;
constexpr int kDataFolderText = 310;
}  // namespace

QStringList ProgramTextCandidates(const StartUpEnvironment& environment)
{
    const QString name = QString::fromLatin1(kProgramTextFileName);
    QStringList paths{ProgramTextPath(environment.programFolder, name)};
    if (!environment.installedDataFolder.isEmpty())
        paths << ProgramTextPath(environment.installedDataFolder, name);
    return paths;
}

bool LoadProgramTextFile(const StartUpEnvironment& environment, QString& message)
{
    const QStringList candidates = ProgramTextCandidates(environment);
    QString path = candidates.front();
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate)) {
            path = candidate;
            break;
        }
    }
    const int result = LoadProgramText(path);
    if (result >= 1) return true;
    message = ProgramTextLoadMessage(result, path);
    return false;
}

void InitialiseSetup(OperationSetup& setup, WorkingValues& values, const StartUpEnvironment& environment)
{
    if (!environment.firstFixedDrive.isEmpty()) QDir::setCurrent(environment.firstFixedDrive);
    values.keyLinePrefix = GetText(kKeyLinePrefixText);
    values.notSpecifiedText = GetText(kNotSpecifiedText);
    setup.direction = Direction::Decrypt;
    setup.inPlace = true;
    setup.includeSubfolders = true;
    setup.folders = {QString(), QString()};
    setup.fileSpecs = {QString(), QString()};
    values.nextRunSetupPath = PrepareNextRunSetupPath(environment);
}

QString PrepareNextRunSetupPath(const StartUpEnvironment& environment)
{
    QString base = environment.applicationDataFolder;
    if (base.isEmpty()) base = environment.firstFixedDrive;
    if (base.isEmpty()) base = QDir::rootPath();
    const QString folder = QDir(base).filePath(GetText(kDataFolderText));
    QDir().mkpath(folder);
    return QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("kyve.opn")));
}

}  // namespace kyv
