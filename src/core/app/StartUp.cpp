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

QStringList ProgramTextCandidates(const ProgramPaths& paths)
{
    const QString name = QString::fromLatin1(kProgramTextFileName);
    QStringList candidates{ProgramTextPath(paths.programFolder, name)};
    if (!paths.installedDataFolder.isEmpty()) candidates << ProgramTextPath(paths.installedDataFolder, name);
    return candidates;
}

bool LoadProgramTextFile(const ProgramPaths& paths, QString& message)
{
    const QStringList candidates = ProgramTextCandidates(paths);
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

void InitialiseSetup(OperationSetup& setup, WorkingValues& values, const ProgramPaths& paths)
{
    if (!paths.firstFixedDrive.isEmpty()) QDir::setCurrent(paths.firstFixedDrive);
    values.keyLinePrefix = GetText(kKeyLinePrefixText);
    values.notSpecifiedText = GetText(kNotSpecifiedText);
    setup.direction = Direction::Decrypt;
    setup.inPlace = true;
    setup.includeSubfolders = true;
    setup.folders = {};
    setup.fileSpecs = {QString(), QString()};
    values.nextRunSetupPath = PrepareNextRunSetupPath(paths);
}

platform::FilePath PrepareNextRunSetupPath(const ProgramPaths& paths)
{
    QString base = paths.applicationDataFolder;
    if (base.isEmpty()) base = paths.firstFixedDrive;
    if (base.isEmpty()) base = QDir::rootPath();
    const QString folder = QDir(base).filePath(GetText(kDataFolderText));
    QDir().mkpath(folder);
    return platform::FilePath(QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("kyve.opn"))));
}

}  // namespace kyv
