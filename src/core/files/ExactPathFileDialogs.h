#pragma once
// File dialogs whose answers name exactly what the file system holds, even names that are not
// UTF-8, which the underlying dialogs (Qt's) see only lossily.

#include "core/common/FileDialogs.h"

namespace kyv {

class Prompter;

class ExactPathFileDialogs final : public FileDialogs {
public:
    ExactPathFileDialogs(FileDialogs& dialogs, Prompter& prompter) : dialogs_(dialogs), prompter_(prompter) {}

    // A path that fits several names is refused with a message, as if the dialog was cancelled.
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<QString> BrowseForFolder(const QString& title, const QString& startFolder) override;

private:
    std::optional<QString> Exact(const std::optional<QString>& chosen);

    FileDialogs& dialogs_;
    Prompter& prompter_;
};

}  // namespace kyv
