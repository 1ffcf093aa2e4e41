#pragma once

#include "core/common/FileDialogs.h"

class QWidget;

namespace kyv::gui {

// The common file dialogs and folder browser through QFileDialog, over the given parent window;
// none given, over the program's main window (DialogParent).
class QtFileDialogs final : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    std::optional<QString> BrowseForFolder(const QString& title, const QString& startFolder) override;

private:
    QWidget* const parent_;
};

// "Operation files (*.opn) | *.opn" written as Qt wants it: "Operation files (*.opn)".
QString QtFilter(const QString& filter);

}  // namespace kyv::gui
