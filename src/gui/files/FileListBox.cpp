#include "gui/files/FileListBox.h"

#include <algorithm>
#include <optional>

#include "core/files/FolderListing.h"
#include "core/files/FolderPath.h"

namespace kyv::gui {

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void FileListBox::Refresh()
{
    clear();
    if (folder_.isEmpty()) return;
    // Read by the names' bytes, so that a name that is not UTF-8 is shown escaped and chosen
    // exactly. Hidden files are listed: the operations treat them like any other file.
    QString errorText;
    const std::optional<FolderListing> listing = ListFolder(folder_, QStringLiteral("*.*"), errorText);
    if (!listing) return;
    QStringList names = listing->files;
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(DisplayName(a), DisplayName(b), Qt::CaseInsensitive) < 0;
    });
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(DisplayName(name), this);
        item->setData(Qt::UserRole, name);
    }
}

QString FileListBox::SelectedName() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->data(Qt::UserRole).toString();
}

}  // namespace kyv::gui
