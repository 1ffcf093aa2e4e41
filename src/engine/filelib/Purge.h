#pragma once

#include <cstdint>
#include <filesystem>

namespace kyv::filelib {

// Overwrite modes of PurgeFile.
inline constexpr int kPurgeAfterEncryption = 1000;
inline constexpr int kPurgeAfterDecryption = 0;

// Results of PurgeFile, with the numbers the callers have always been given. From NothingToRemove up
// the file is gone; below it, it is still there. Only Done, RemovedNotOverwritten and NothingToRemove
// mean that the purge did all it was to do (PurgeIsComplete); RemovedOverwriteIncomplete and
// EmptiedNotRemoved are failures, however safe the data is elsewhere: the disk may keep what the
// overwrite was to destroy, or an emptied file is left behind.
enum class [[nodiscard]] PurgeResult : int{
    Done = 0,                         // overwritten, flushed, truncated, removed
    RemovedOverwriteIncomplete = -1,  // removed; writing, flushing or truncating failed partway
    RemovedNotOverwritten = -2,       // removed without overwriting (see PurgeFile)
    NothingToRemove = -3,             // there was no file of that name
    NotAFile = -4,                    // a folder, device or pipe: left alone
    CannotOverwrite = -5,             // after encryption, not writable: left in place
    CannotRemove = -6,                // its folder does not let it go: left in place
    BadPath = -7,                     // empty, or a path the system cannot take
    Changed = -8,                     // not the file the caller saw, or written to since: left alone
    EmptiedNotRemoved = -9,           // overwritten (or partly) and truncated, but the removal failed: left
                             // under its meaningless name (PurgeReport::leftAt); its own name is free
};

// What the caller saw of a file when it read it: which file, its length and the times of its last
// data and entry changes (nanoseconds).
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t fileNumber = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
};

// Whether the file is gone after the purge (or was not there).
[[nodiscard]] constexpr bool FileIsGone(PurgeResult result)
{
    return static_cast<int>(result) >= static_cast<int>(PurgeResult::NothingToRemove);
}

// Whether the purge did all it was to do: the file is gone, and every byte it was to overwrite was
// overwritten and flushed (a link or a read-only file after decryption is removed without it, as
// PurgeFile says; a file that was not there needs nothing).
[[nodiscard]] constexpr bool PurgeIsComplete(PurgeResult result)
{
    return result == PurgeResult::Done || result == PurgeResult::RemovedNotOverwritten ||
           result == PurgeResult::NothingToRemove;
}

// What a purge did, and where an emptied file it could not remove is left.
struct PurgeReport {
    PurgeResult result = PurgeResult::BadPath;
    std::filesystem::path leftAt;  // for EmptiedNotRemoved only
};

// Overwrites the file, then removes it; FileIsGone(result) tells whether the file is gone.
//
// kPurgeAfterEncryption (and any mode other than kPurgeAfterDecryption): one pass of random bytes
// over the full length, flushed to the device. kPurgeAfterDecryption: the file holds ciphertext, so
// one pass of zeros, flushed as well. Then the file is truncated, renamed to a meaningless name in its
// folder and deleted. The rename is done first, so that a file its folder will not release is never
// overwritten and left behind under its own name.
//
// A symbolic link or a file with other hard links is removed without overwriting: overwriting would
// destroy the data that another name still shows. After a decryption, a file that cannot be opened
// for writing is removed all the same; after an encryption it is left in place, so that the caller
// keeps its result under the temporary name and says so.
// The drive-information arguments are accepted for the callers' sake and not used.
[[nodiscard]] PurgeResult PurgeFile(const std::filesystem::path& path, int mode, bool useDriveInformation,
                                    int driveInformation);

// As PurgeFile, only when the name still leads to the file of `expected` and nothing has changed it
// since: otherwise the result is Changed and the file stays as it is, under its name. Whatever is
// written to the file once its overwrite has begun is lost with it.
[[nodiscard]] PurgeResult PurgeFileIfUnchanged(const std::filesystem::path& path, int mode,
                                               const FileStamp& expected);
// As PurgeFileIfUnchanged, telling also where an emptied file that could not be removed is left.
[[nodiscard]] PurgeReport PurgeFileIfUnchangedReporting(const std::filesystem::path& path, int mode,
                                                        const FileStamp& expected);

}  // namespace kyv::filelib
