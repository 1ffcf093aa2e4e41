#include "gui/common/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace kyv::gui {

QString QtFilter(const QString& filter)
{
    // Pairs of "description | pattern" separated by "|"; Qt shows the description, which already
    // names the pattern in parentheses.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        filters << (description.contains(QLatin1Char('(')) ? description
                                                           : description + " (" + pattern + ")");
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {
QString StartPath(const FileDialogRequest& request)
{
    if (request.folder.isEmpty()) return request.fileName;
    return QDir(request.folder).filePath(request.fileName);
}

std::optional<QString> Result(const QString& chosen)
{
    if (chosen.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(chosen);
}

// An open dialog that accepts a name not yet in its folder: "Open" stays available for a typed
// new name, and choosing an existing one asks nothing, as the program asks itself.
QString ChooseNameMayBeNew(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent, request.title, request.folder, QtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.selectedFiles().value(0);
}

}  // namespace

std::optional<QString> QtFileDialogs::OpenFile(const FileDialogRequest& request)
{
    if (request.mode == OpenMode::NameMayBeNew)
        return Result(ChooseNameMayBeNew(DialogParent(owner_), request));
    return Result(QFileDialog::getOpenFileName(DialogParent(owner_), request.title, StartPath(request),
                                               QtFilter(request.filter)));
}

std::optional<QString> QtFileDialogs::SaveFile(const FileDialogRequest& request)
{
    // The name is taken exactly as given: no extension is added, and overwriting is asked by
    // the program itself.
    return Result(QFileDialog::getSaveFileName(DialogParent(owner_), request.title, StartPath(request),
                                               QtFilter(request.filter), nullptr,
                                               QFileDialog::DontConfirmOverwrite));
}

std::optional<QString> QtFileDialogs::BrowseForFolder(const QString& title, const QString& startFolder)
{
    return Result(QFileDialog::getExistingDirectory(DialogParent(owner_), title, startFolder));
}

}  // namespace kyv::gui
