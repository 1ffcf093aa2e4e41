#include "core/files/InputFolderCheck.h"

#include "core/common/Prompter.h"
#include "core/files/FolderCount.h"

namespace kyv {

bool CheckInputFolder(const QString& folder, const QString& fileSpec, Prompter& prompter)
{
    QString errorText;
    const int files = CountMatchingFiles(folder, fileSpec, errorText);
    const int subfolders = CountSubfolders(folder, errorText);
    if (files == -1 || subfolders == -1) {
        prompter.Tell(QStringLiteral("Cannot access the input folder."), QStringLiteral("Error"),
                      MessageIcon::Error);
        return false;
    }
    if (files != 0 || subfolders != 0) return true;
    const QString text = fileSpec == u"*.*" ? QStringLiteral("The input folder contains no files ")
                                            : QStringLiteral("The input folder contains no matching files ");
    prompter.Tell(text + QStringLiteral("and no subfolders."), QStringLiteral("Empty folder"),
                  MessageIcon::Exclamation);
    return false;
}

}  // namespace kyv
