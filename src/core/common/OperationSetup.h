#pragma once
// The one record that says which operation "Do it!" will perform, with the working values the
// main window keeps beside it.

#include <QString>
#include <array>

#include "platform/FilePath.h"

namespace kyv {

enum Side : int { kInputSide = 0, kOutputSide = 1 };

enum class Direction { Encrypt, Decrypt };

[[nodiscard]] constexpr Direction DirectionFor(bool encrypt)
{
    return encrypt ? Direction::Encrypt : Direction::Decrypt;
}

[[nodiscard]] constexpr Direction Opposite(Direction direction)
{
    return direction == Direction::Encrypt ? Direction::Decrypt : Direction::Encrypt;
}

struct OperationSetup {
    Direction direction = Direction::Encrypt;
    // Folder (ending in one separator when set) and file specification of each side.
    std::array<platform::FilePath, 2> folders;
    std::array<QString, 2> fileSpecs;
    bool inPlace = false;
    bool includeSubfolders = false;
    bool confirmEachFile = false;

    [[nodiscard]] bool Encrypts() const { return direction == Direction::Encrypt; }
    const platform::FilePath& InputFolder() const { return folders[kInputSide]; }
    const QString& InputSpec() const { return fileSpecs[kInputSide]; }
    const platform::FilePath& OutputFolder() const { return folders[kOutputSide]; }
    const QString& OutputSpec() const { return fileSpecs[kOutputSide]; }
};

// Values kept by the main window beside the setup.
struct WorkingValues {
    // Files in the input folder the file dialog's list shows.
    int fileListCount = 0;
    // Clicks on the main window's commands do nothing (a second after a file dialog closed).
    bool ignoreClicks = false;
    QString notSpecifiedText;  // program text 7
    QString keyLinePrefix;     // program text 6
    platform::FilePath nextRunSetupPath;
};

}  // namespace kyv
