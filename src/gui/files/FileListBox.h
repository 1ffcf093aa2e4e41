#pragma once
// The files of one folder by name, for choosing one of them.

#include <QListWidget>

namespace kyv::gui {

class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    // Points the list at a folder; Refresh reads it.
    void SetPath(const QString& folder) { folder_ = folder; }
    const QString& Path() const { return folder_; }
    void Refresh();
    // The selected file's name; empty when none is selected.
    QString SelectedName() const;

private:
    QString folder_;
};

}  // namespace kyv::gui
