#include "core/common/ProgramText.h"

#include <QDir>
#include <cstdlib>
#include <string>

#include "core/common/NumberText.h"
#include "engine/filelib/ProgramTextStore.h"

namespace kyv {

namespace {
constexpr int kLanguage = 0;
}

QString ProgramTextPath(const QString& programFolder, const QString& fileName)
{
    QString path = QDir::toNativeSeparators(programFolder);
    if (!path.endsWith(QDir::separator())) path += QDir::separator();
    return path + fileName;
}

int LoadProgramText(const QString& path)
{
    return filelib::LoadTexts(std::filesystem::path(path.toStdString()), kLanguage).Number();
}

QString ProgramTextLoadMessage(int r, const QString& path)
{
    switch (r) {
        case 0:
            return QStringLiteral("No program text was read.");
        case -1:
            return QStringLiteral("Cannot open file containing program text.\n") + path;
        case -2:
            return QStringLiteral("Particular memory allocation error.");
        case -3:
            return QStringLiteral("Too much program text.");
        case -4:
            return QStringLiteral("Text not recovered.");
        case -6:
            return QStringLiteral("File is empty.");
        case -7:
            return QStringLiteral("Error reading file.");
        case -8:
            return QStringLiteral("General memory allocation error.");
        case -9:
            return QStringLiteral("The file containing program text is not a regular file.\n") + path;
        default:
            break;
    }
    if (r < -1500)
        return QStringLiteral("Duplicate in program text at line") + NumberToText(std::abs(r + 1500)) + ".";
    if (r >= -1501 && r <= -1001)
        return QStringLiteral("String too long at line") + NumberToText(std::abs(r + 1000)) + ".";
    if (r >= -1000 && r <= -501)
        return QStringLiteral("Missing string at line") + NumberToText(std::abs(r + 500)) + ".";
    return QStringLiteral("Error ") + QString::number(r);
}

QString GetText(int number)
{
    const std::optional<std::string> text = filelib::FetchText(number, kLanguage);
    return text ? QString::fromStdString(*text) : QString();
}

}  // namespace kyv
