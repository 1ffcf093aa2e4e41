#include "core/files/OutputConfinement.h"

#include <QDir>
#include <string>
#include <string_view>

#include "core/common/OperationSetup.h"
#include "core/files/FolderPath.h"

namespace kyv {

namespace {

#ifdef Q_OS_WIN
constexpr const char* kSeparatorBytes = "/\\";
#else
constexpr const char* kSeparatorBytes = "/";
#endif

bool HasSeparator(const QString& text)
{
    if (text.contains(u'/')) return true;
#ifdef Q_OS_WIN
    if (text.contains(u'\\') || text.contains(u':')) return true;
#endif
    return false;
}

}  // namespace

bool OutputSpecStaysInFolder(const QString& spec)
{
    return !HasSeparator(spec) && !spec.contains(QStringLiteral("..")) && !spec.contains(QChar(0));
}

bool OutputNameStaysInFolder(const QString& name)
{
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !HasSeparator(name) && !name.contains(QChar(0));
}

bool FolderIsPlainFullPath(const FilePath& folder)
{
    if (folder.IsEmpty()) return true;
    // On the file system's bytes, as the folder will be opened: text that is not UTF-8 must not
    // hide a ".." part from the check.
    const std::string& bytes = folder.Bytes();
    if (!QDir::isAbsolutePath(folder.Text()) || bytes.find('\0') != std::string::npos) return false;
    std::string_view rest = bytes;
    for (;;) {
        const std::size_t end = rest.find_first_of(kSeparatorBytes);
        if (rest.substr(0, end) == "..") return false;
        if (end == std::string_view::npos) return true;
        rest.remove_prefix(end + 1);
    }
}

QString ConfinementProblem(const std::array<FilePath, 2>& folders, const QString& outputSpec)
{
    for (int side : {kInputSide, kOutputSide}) {
        if (!FolderIsPlainFullPath(folders[side]))
            return QStringLiteral("The ") + (side == kInputSide ? "input" : "output") + " folder " +
                   folders[side].Display() + " is not a full path (it is relative or holds \"..\").";
    }
    if (!OutputSpecStaysInFolder(outputSpec))
        return QStringLiteral("The output file specification ") + DisplayName(outputSpec) +
               QStringLiteral(" would write outside the output folder.");
    return QString();
}

}  // namespace kyv
