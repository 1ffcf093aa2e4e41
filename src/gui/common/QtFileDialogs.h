#pragma once

#include <utility>

#include "core/common/FileDialogs.h"
#include "gui/common/DialogParent.h"

namespace kyv::gui {

// The common file dialogs and folder browser through QFileDialog, over their owner's window
// (DialogParent).
class QtFileDialogs final : public FileDialogs {
public:
    explicit QtFileDialogs(DialogOwner owner = {}) : owner_(std::move(owner)) {}
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<QString> BrowseForFolder(const QString& title, const QString& startFolder) override;

private:
    const DialogOwner owner_;
};

// "Operation files (*.opn) | *.opn" written as Qt wants it: "Operation files (*.opn)".
QString QtFilter(const QString& filter);

}  // namespace kyv::gui
