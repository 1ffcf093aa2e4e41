#pragma once
// The common file-open and file-save dialogs and the folder browser.

#include <QString>
#include <optional>

namespace kyv {

// What a file-open dialog accepts: only a file that exists, or any name in an existing folder, so
// that a file still to be made can be named in it.
enum class OpenMode { ExistingFile, NameMayBeNew };

struct FileDialogRequest {
    QString title;
    QString filter;    // as written in the program, e.g. "Operation files (*.opn) | *.opn"
    QString fileName;  // proposed name, may be empty
    QString folder;    // folder to start in, may be empty
    OpenMode mode = OpenMode::ExistingFile;  // of OpenFile only
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Each returns the chosen path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> OpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> SaveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> BrowseForFolder(const QString& title, const QString& startFolder) = 0;
};

}  // namespace kyv
