#pragma once
// The setup file: nine text lines shared by operation files (*.opn) and the next-run setup.

#include <QString>
#include <array>
#include <optional>

#include "core/common/OperationSetup.h"

namespace kyv {

// The program version written at the head of every setup file.
inline constexpr auto kProgramVersion = "9.77";

// The largest setup file read: the version, four flags and four paths of at most 4096 bytes each,
// with room to spare. Anything larger is not a setup file and is not read at all.
inline constexpr qint64 kMaxSetupFileBytes = 64 * 1024;

// What a setup file holds (never a key).
struct SetupFileContents {
    bool encrypt = true;
    bool confirmEachFile = false;
    bool inPlace = false;
    bool includeSubfolders = false;
    std::array<platform::FilePath, 2> folders;
    std::array<QString, 2> fileSpecs;
};

SetupFileContents ContentsOf(const OperationSetup& setup);

// Writes the nine lines, creating or replacing the file; false on any error.
[[nodiscard]] bool WriteSetupFile(const platform::FilePath& path, const SetupFileContents& contents);

// Reads a setup file; nothing when it is not a regular file (a pipe is refused without waiting for
// a writer), is larger than kMaxSetupFileBytes, holds a zero byte or a quote that is never closed,
// has fewer than nine items, a flag item is not an integer, or one of the three applied flags is
// neither 0 nor 1 (such a file would be applied only in part). The version (item 1) is not
// examined. What the folders and file specifications say is not judged here
// (SetupConfinementProblem does that).
[[nodiscard]] std::optional<SetupFileContents> ReadSetupFile(const platform::FilePath& path);

}  // namespace kyv
