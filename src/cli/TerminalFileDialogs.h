#pragma once
// kyv names its files and folders on the command line and shows no dialog: a file dialog asked of
// it is cancelled.

#include "core/common/FileDialogs.h"

namespace kyv::cli {

class TerminalFileDialogs final : public FileDialogs {
public:
    std::optional<QString> OpenFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> SaveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> BrowseForFolder(const QString&, const QString&) override { return std::nullopt; }
};

}  // namespace kyv::cli
