#include "gui/files/FileListBox.h"

#include <QTimer>
#include <algorithm>

#include "core/files/FolderPath.h"

namespace kyv::gui {

namespace {
// Names added between two turns of the event loop: a few milliseconds' work.
constexpr qsizetype kNamesPerBatch = 2000;
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
    waiting_.clear();
    nextWaiting_ = 0;
    reading_ = false;
    names_.Cancel();
    if (folder_.isEmpty()) return;
    // Hidden files are listed: the operations treat them like any other file.
    reading_ = true;
    names_.Request(folder_, [this](const QStringList& names) { Take(names); });
}

void FileListBox::Take(const QStringList& names)
{
    reading_ = false;
    waiting_ = names;
    nextWaiting_ = 0;
    AddBatch();
}

void FileListBox::AddBatch()
{
    const qsizetype end = std::min(waiting_.size(), nextWaiting_ + kNamesPerBatch);
    for (; nextWaiting_ < end; ++nextWaiting_) {
        const QString& name = waiting_[nextWaiting_];
        auto* item = new QListWidgetItem(DisplayName(name), this);
        item->setData(Qt::UserRole, name);
    }
    if (nextWaiting_ < waiting_.size()) {
        batches_->start();
        return;
    }
    batches_->stop();
    waiting_.clear();
    nextWaiting_ = 0;
}

QString FileListBox::SelectedName() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->data(Qt::UserRole).toString();
}

}  // namespace kyv::gui
