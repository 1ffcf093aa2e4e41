#pragma once
// The files of one folder by name, for choosing one of them. The folder is read off the window's
// thread and the list fills in batches, so a folder of any size never holds up the window.

#include <QListWidget>
#include <QStringList>

#include "core/files/BackgroundFileNames.h"
#include "platform/FilePath.h"

class QTimer;

namespace kyv::gui {

class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    // Points the list at a folder; Refresh reads it.
    void SetPath(const platform::FilePath& folder) { folder_ = folder; }
    const platform::FilePath& Path() const { return folder_; }
    // Empties the list and starts reading the folder; the names come in once read.
    void Refresh();
    // Whether names are still to come in.
    [[nodiscard]] bool Filling() const { return reading_ || nextShown_ < names_.names.size(); }
    // The selected file's name; empty when none is selected.
    QString SelectedName() const;

private:
    void Take(const FolderFileNames& names);
    void AddBatch();

    platform::FilePath folder_;
    BackgroundFileNames reader_;
    bool reading_ = false;
    FolderFileNames names_;
    qsizetype nextShown_ = 0;
    QTimer* batches_;
};

}  // namespace kyv::gui
