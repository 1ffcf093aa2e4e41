#pragma once
// What the status lines of one side say: folder, file specification and a description of what
// they select, with the place of that description after the file specification.

#include <QString>
#include <optional>

#include "core/common/OperationSetup.h"

namespace kyv::platform {
class FloppyFolders;
}

namespace kyv {

// Width in twips of one character of the status lines' font.
inline constexpr int kStatusCharWidthTwips = 106;

struct FilesStatusLine {
    QString folderTexts;
    QString specTexts;
    QString specExplanations;
    // Left of the description in twips from the left of the file specification label; nothing when the
    // description stays where it is.
    std::optional<int> descriptionLeft;
    // A single input file whose randomness completes the description (DescribeInputFile); until
    // it is measured the description shows the file's size. Empty when nothing is measured.
    platform::FilePath measurePath;
    // The single file the line names (either side); empty for a folder or a wildcard specification.
    QString filePath;
};

// The status line of `side` for the setup as it stands. Reads no file beyond the size and
// existence of a single named file; never reads a file on a floppy drive.
[[nodiscard]] FilesStatusLine DescribeFilesSide(const OperationSetup& setup, const WorkingValues& values,
                                                int side, const platform::FloppyFolders& floppies);

// The description of a single input file measured `randomness` (an error value of the measure
// when -11 or below).
[[nodiscard]] QString DescribeInputFile(const platform::FilePath& path, double randomness,
                                        double minKyvRandomness);

}  // namespace kyv
