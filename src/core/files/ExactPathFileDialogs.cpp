#include "core/files/ExactPathFileDialogs.h"

#include "core/common/Prompter.h"
#include "core/files/DialogPathMatch.h"
#include "core/files/FolderPath.h"

namespace kyv {

namespace {

// The dialog cannot open a folder whose name is not UTF-8: it starts in the nearest folder above
// that can be opened.
QString OpenableStartFolder(const QString& folder)
{
    const qsizetype escaped = FirstEscapedByte(folder);
    if (escaped < 0) return folder;
    return folder.left(folder.lastIndexOf(u'/', escaped) + 1);
}

FileDialogRequest OpenableRequest(const FileDialogRequest& request)
{
    FileDialogRequest openable = request;
    openable.folder = OpenableStartFolder(request.folder);
    // The proposed name as the dialog would show it; an answer with it comes back to the same name.
    openable.fileName = QtDecodedName(request.fileName);
    return openable;
}

}  // namespace

std::optional<QString> ExactPathFileDialogs::OpenFile(const FileDialogRequest& request)
{
    return Exact(dialogs_.OpenFile(OpenableRequest(request)));
}

std::optional<QString> ExactPathFileDialogs::SaveFile(const FileDialogRequest& request)
{
    return Exact(dialogs_.SaveFile(OpenableRequest(request)));
}

std::optional<QString> ExactPathFileDialogs::BrowseForFolder(const QString& title, const QString& startFolder)
{
    return Exact(dialogs_.BrowseForFolder(title, OpenableStartFolder(startFolder)));
}

std::optional<QString> ExactPathFileDialogs::Exact(const std::optional<QString>& chosen)
{
    if (!chosen) return std::nullopt;
    const DialogPathMatch match = MatchDialogPath(*chosen);
    if (!match.path)
        prompter_.Tell(QStringLiteral("Several names in the folder ") + DisplayName(match.ambiguousFolder) +
                           QStringLiteral(" look the same in the dialog, so Kyv cannot tell which one "
                                          "was chosen. Please rename them so that they differ."),
                       QStringLiteral("Error"), MessageIcon::Exclamation);
    return match.path;
}

}  // namespace kyv
