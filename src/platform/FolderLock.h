#pragma once
// One run at a time in a folder: an advisory lock on the folder itself, held while a run works in
// it and let go when the lock goes (or the process ends, however it ends). Nothing is written into
// the folder for it, so a crash leaves nothing behind.

#include "platform/FilePath.h"

namespace kyv::platform {

class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    enum class Outcome {
        Locked,       // this run now works in the folder alone
        HeldByOther,  // another run works in it
        Unlockable,   // the folder cannot be opened or its file system has no locks: not held
    };

    // Tries once, without waiting.
    [[nodiscard]] Outcome TryLock(const FilePath& folder);

private:
    int descriptor_ = -1;
};

}  // namespace kyv::platform
