#include "core/files/BackgroundFileNames.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <thread>

#include "core/common/ThreadHandOff.h"
#include "core/files/FolderListing.h"
#include "core/files/FolderPath.h"

namespace kyv {

struct BackgroundFileNames::Shared {
    std::mutex mutex;
    // The request whose answer is still wanted; answers of others are dropped.
    quint64 generation = 0;
    // Null once the owner has gone.
    QObject* receiver = nullptr;
    BackgroundFileNames* owner = nullptr;
};

namespace {

FolderFileNames SortedFileNames(const platform::FilePath& folder)
{
    QString errorText;
    // Read by the names' bytes: a name that is not UTF-8 is shown escaped and chosen exactly.
    const std::optional<FolderListing> listing = ListFolder(folder, QStringLiteral("*.*"), errorText);
    if (!listing) return {};
    std::vector<std::pair<QString, QString>> keyed;
    keyed.reserve(static_cast<std::size_t>(listing->files.size()));
    for (const QString& name : listing->files) keyed.emplace_back(DisplayName(name), name);
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return QString::compare(a.first, b.first, Qt::CaseInsensitive) < 0;
    });
    FolderFileNames sorted;
    sorted.names.reserve(static_cast<qsizetype>(keyed.size()));
    sorted.shown.reserve(static_cast<qsizetype>(keyed.size()));
    for (auto& [shown, name] : keyed) {
        sorted.shown.append(std::move(shown));
        sorted.names.append(std::move(name));
    }
    return sorted;
}

}  // namespace

BackgroundFileNames::BackgroundFileNames() : shared_(std::make_shared<Shared>())
{
    shared_->receiver = &receiver_;
    shared_->owner = this;
}

BackgroundFileNames::~BackgroundFileNames()
{
    std::lock_guard lock(shared_->mutex);
    shared_->receiver = nullptr;
    shared_->owner = nullptr;
}

void BackgroundFileNames::Request(const platform::FilePath& folder, Done done)
{
    done_ = std::move(done);
    quint64 generation = 0;
    {
        std::lock_guard lock(shared_->mutex);
        generation = ++shared_->generation;
    }
    // Detached: a listing of a huge or slow folder must not hold up the window or shut-down.
    std::thread([shared = shared_, folder, generation] {
        FolderFileNames names = SortedFileNames(folder);
        std::lock_guard lock(shared->mutex);
        if (shared->receiver == nullptr || shared->generation != generation) return;
        PostTo(*shared->receiver, [shared, generation, names = std::move(names)] {
            BackgroundFileNames* owner = nullptr;
            {
                std::lock_guard ownerLock(shared->mutex);
                if (shared->generation != generation) return;
                owner = shared->owner;
            }
            if (owner != nullptr && owner->done_) {
                const Done answer = std::move(owner->done_);
                owner->done_ = nullptr;
                answer(names);
            }
        });
    }).detach();
}

void BackgroundFileNames::Cancel()
{
    done_ = nullptr;
    std::lock_guard lock(shared_->mutex);
    ++shared_->generation;
}

}  // namespace kyv
