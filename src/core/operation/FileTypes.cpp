#include "core/operation/FileTypes.h"

#include <algorithm>

namespace kyv {

namespace {

QString FileNameOf(const QString& path)
{
    // Both separators count, so a name typed with either is found on every platform.
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1);
}

}  // namespace

QString GetFileExtension(const QString& path, bool lower)
{
    const QString name = FileNameOf(path);
    const qsizetype point = name.lastIndexOf(QLatin1Char('.'));
    if (point < 0) return QString();
    const QString extension = name.mid(point + 1);
    return lower ? extension.toLower() : extension;
}

bool IsAntivirusSensitiveType(const QString& name)
{
    static const QStringList kSensitive = {
        QStringLiteral("SHS"), QStringLiteral("RTF"), QStringLiteral("PPT"), QStringLiteral("MSO"),
        QStringLiteral("MDB"), QStringLiteral("DOT"), QStringLiteral("CPL"), QStringLiteral("CLA"),
        QStringLiteral("CBT"), QStringLiteral("ADT"), QStringLiteral("BAT"), QStringLiteral("INI"),
        QStringLiteral("SYS"), QStringLiteral("SCR"), QStringLiteral("EXE"), QStringLiteral("DRV"),
        QStringLiteral("DOC"), QStringLiteral("DLL"), QStringLiteral("COM"), QStringLiteral("BIN"),
        QStringLiteral("386")};
    const QString extension = GetFileExtension(name, false).toUpper();
    if (extension.size() != 3) return false;
    if (extension.startsWith(QLatin1String("XL")) || extension.startsWith(QLatin1String("OV"))) return true;
    return kSensitive.contains(extension);
}

void ProtectedExtensions::InitProtectedExtensions()
{
    extensions_ = {QStringLiteral("bat"), QStringLiteral("bin"), QStringLiteral("com"), QStringLiteral("dll"),
                   QStringLiteral("drv"), QStringLiteral("exe"), QStringLiteral("ini"), QStringLiteral("ovl"),
                   QStringLiteral("pif"), QStringLiteral("swp"), QStringLiteral("sys")};
}

bool ProtectedExtensions::Contains(const QString& extension) const
{
    return !extension.isEmpty() && extensions_.contains(extension);
}

}  // namespace kyv
