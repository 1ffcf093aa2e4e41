#include "gui/files/FileListBox.h"

#include <QTimer>
#include <algorithm>

namespace kyv::gui {

namespace {
// Names added between two turns of the event loop: a few milliseconds' work.
constexpr qsizetype kNamesPerBatch = 1000;
}  // namespace

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent), batches_(new QTimer(this))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Items of one height: the list lays out a large folder without measuring every name.
    setUniformItemSizes(true);
    batches_->setInterval(0);
    connect(batches_, &QTimer::timeout, this, &FileListBox::AddBatch);
}

void FileListBox::Refresh()
{
    clear();
    batches_->stop();
    names_ = {};
    nextShown_ = 0;
    reading_ = false;
    reader_.Cancel();
    if (folder_.IsEmpty()) return;
    // Hidden files are listed: the operations treat them like any other file.
    reading_ = true;
    reader_.Request(folder_, [this](const FolderFileNames& names) { Take(names); });
}

void FileListBox::Take(const FolderFileNames& names)
{
    reading_ = false;
    names_ = names;
    nextShown_ = 0;
    AddBatch();
}

void FileListBox::AddBatch()
{
    const qsizetype end = std::min(names_.names.size(), nextShown_ + kNamesPerBatch);
    // One insertion for the batch: item by item, the list would lay itself out after each one.
    insertItems(count(), names_.shown.mid(nextShown_, end - nextShown_));
    nextShown_ = end;
    if (nextShown_ < names_.names.size()) {
        batches_->start();
        return;
    }
    batches_->stop();
}

QString FileListBox::SelectedName() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) return {};
    // Row by row the list shows `names_` in order.
    const int row = this->row(selected.front());
    return row < names_.names.size() ? names_.names[row] : QString();
}

}  // namespace kyv::gui
