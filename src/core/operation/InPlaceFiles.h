#pragma once
// The file-system steps of in-place work: a temporary output beside the original (or on the first
// fixed drive for a floppy), made durable before the original is purged, then given the
// original's name. A crash at any moment leaves each file either as it was, or as a complete
// result under its own name or under the temporary name.

#include <QString>

#include "platform/Drives.h"
#include "platform/FileIdentity.h"
#include "platform/FilePath.h"

namespace kyv {

// A temporary name for the output of `path`, with the file created under it exclusively and with
// owner-only permissions, so that nobody else can have made or opened it in between: the path
// followed by the smallest free number; for a floppy, the same file name on the first fixed drive
// (numbered when taken). Empty when no name could be had.
[[nodiscard]] platform::FilePath ReserveTemporaryOutput(const platform::FilePath& path,
                                                        const platform::FloppyFolders& floppies);

// As ReserveTemporaryOutput, always beside `path` (on its drive, floppy or not), so that the file
// can take the name `path` by a rename.
[[nodiscard]] platform::FilePath ReserveNameBeside(const platform::FilePath& path);

// Writes the file's data and its folder's entry to the device.
[[nodiscard]] bool FlushToDevice(const platform::FilePath& path);
// Writes the folder's entry of a file whose data is on the device already (renamed, say).
[[nodiscard]] bool FlushFolderEntry(const platform::FilePath& path);

enum class PurgeOutcome {
    Gone,     // overwritten and deleted
    Changed,  // the name leads to another file now, or the file was written to: left as it is
    Left,     // could not be removed; it is still there
    // Its name is free, but the purge did not do all it was to do: the disk may still hold its
    // data in the blocks it used.
    DeletedNotOverwritten,  // deleted, but writing over it or flushing that failed
    EmptiedNotDeleted,      // overwritten (or partly) and emptied, but left under a meaningless name
};

struct OriginalPurge {
    PurgeOutcome outcome = PurgeOutcome::Left;
    platform::FilePath leftAt;  // for EmptiedNotDeleted: where the emptied file is
};

// Removes a read-only attribute, then overwrites and deletes the file (level 1000 after
// encryption, 0 after decryption), only when the name still leads to the file `read` describes
// and nothing has changed it since it was read.
[[nodiscard]] OriginalPurge PurgeOriginal(const platform::FilePath& path, int level,
                                          const platform::FileIdentity& read);

// Gives the file `path` the original's permission bits and, where the system permits, its owner
// and group. Group bits are kept only with the group: they never open the file to another group.
void TakeOriginalsAccess(const platform::FilePath& path, const platform::FileIdentity& original);

// Gives `from` the name `to` without ever replacing a file that exists under `to`, moving the data
// across devices when needed; the new name is flushed to the device. False when it failed (the
// data then remains under `from`).
[[nodiscard]] bool MoveToFreeName(const platform::FilePath& from, const platform::FilePath& to);

}  // namespace kyv
