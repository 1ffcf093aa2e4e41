#pragma once

#include <filesystem>

namespace kyv::filelib {

// Overwrite modes of PurgeFile.
inline constexpr int kPurgeAfterEncryption = 1000;
inline constexpr int kPurgeAfterDecryption = 0;

// Results of PurgeFile. From kPurgeNothingToRemove up the file is gone; below it, it is still there.
inline constexpr int kPurgeDone = 0;                         // overwritten, flushed, truncated, removed
inline constexpr int kPurgeRemovedOverwriteIncomplete = -1;  // removed; writing or flushing failed partway
inline constexpr int kPurgeRemovedNotOverwritten = -2;       // removed without overwriting (see PurgeFile)
inline constexpr int kPurgeNothingToRemove = -3;             // there was no file of that name
inline constexpr int kPurgeNotAFile = -4;                    // a folder, device or pipe: left alone
inline constexpr int kPurgeCannotOverwrite = -5;             // after encryption, not writable: left in place
inline constexpr int kPurgeCannotRemove = -6;                // its folder does not let it go: left in place
inline constexpr int kPurgeBadPath = -7;                     // empty, or a path the system cannot take

// Callers take -3 and above as "gone".
static_assert(kPurgeNothingToRemove == -3 && kPurgeRemovedOverwriteIncomplete > -3 &&
              kPurgeRemovedNotOverwritten > -3 && kPurgeNotAFile < -3 && kPurgeCannotOverwrite < -3 &&
              kPurgeCannotRemove < -3 && kPurgeBadPath < -3);

// Overwrites the file, then removes it. A result of -3 or above means the file is gone.
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
[[nodiscard]] int PurgeFile(const std::filesystem::path& path, int mode, bool useDriveInformation,
                            int driveInformation);

}  // namespace kyv::filelib
