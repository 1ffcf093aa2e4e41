#pragma once
// The names of the files of one folder, read and sorted on a worker thread, so that a window
// showing them keeps its events however large the folder is.

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

#include "platform/FilePath.h"

namespace kyv {

// The files of a folder sorted by their shown names, case ignored: `names` as the file system has
// them, `shown` as the user sees them, one for one.
struct FolderFileNames {
    QStringList names;
    QStringList shown;
};

class BackgroundFileNames final {
public:
    // Empty names when the folder cannot be read.
    using Done = std::function<void(const FolderFileNames& names)>;

    BackgroundFileNames();
    // Never waits for a listing in progress: the worker finishes it and its result is dropped.
    ~BackgroundFileNames();

    // Lists `folder`; `done` runs later on the calling thread's event loop. A new request or
    // Cancel drops the answer of an earlier one.
    void Request(const platform::FilePath& folder, Done done);
    void Cancel();

private:
    struct Shared;

    std::shared_ptr<Shared> shared_;
    Done done_;
    // Receives the worker's answers on the thread that made the requests.
    QObject receiver_;
};

}  // namespace kyv
