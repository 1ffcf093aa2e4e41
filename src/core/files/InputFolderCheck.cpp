#include "core/files/InputFolderCheck.h"

#include "core/common/Prompter.h"
#include "core/files/FolderCount.h"

namespace kyv {

bool CheckInputFolder(const platform::FilePath& folder, const QString& fileSpec, Prompter& prompter)
{
    QString errorText;
    // Only "any?" matters here; a failure further into the folder is named when it is listed.
    const int files = CountMatchingFiles(folder, fileSpec, errorText, 1);
    const int subfolders = files > 0 ? 0 : CountSubfolders(folder, errorText, 1);
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
