#include "gui/files/FileListBox.h"

#include <QDir>

namespace kyv::gui {

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileListBox::Refresh()
{
    clear();
    if (folder_.isEmpty()) return;
    // Hidden files are listed: the operations treat them like any other file.
    const QStringList names =
        QDir(folder_).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    addItems(names);
}

QString FileListBox::SelectedName() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

}  // namespace kyv::gui
