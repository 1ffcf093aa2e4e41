#pragma once

#include <filesystem>

namespace kyv::filelib {

// Overwrite modes of PurgeFile.
inline constexpr int kPurgeAfterEncryption = 1000;
inline constexpr int kPurgeAfterDecryption = 0;

// Overwrites the file, then removes it. A result of -3 or above means the file is gone.
[[nodiscard]] int PurgeFile(const std::filesystem::path& path, int mode, bool useDriveInformation,
                            int driveInformation);

}  // namespace kyv::filelib
