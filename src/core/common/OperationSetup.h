#pragma once
// The one record that says which operation "Do it!" will perform, with the working values the
// main window keeps beside it.

#include <QString>
#include <array>

namespace kyv {

enum Side : int { kInputSide = 0, kOutputSide = 1 };

struct OperationSetup {
    bool encrypt = true;
    // Folder (ending in one separator when set) and file specification of each side.
    std::array<QString, 2> folders;
    std::array<QString, 2> fileSpecs;
    bool inPlace = false;
    bool includeSubfolders = false;
    bool confirmEachFile = false;

    const QString& InputFolder() const { return folders[kInputSide]; }
    const QString& InputSpec() const { return fileSpecs[kInputSide]; }
    const QString& OutputFolder() const { return folders[kOutputSide]; }
    const QString& OutputSpec() const { return fileSpecs[kOutputSide]; }
};

// Values kept by the main window beside the setup.
struct WorkingValues {
    int fileListCount = 0;
    int minFileSizeForRandomness = 256;
    double minEncryptedRandomness = 0.89;
    int charWidthTwips = 106;
    QString currentFilePath;
    qint64 fileSize = 0;
    bool startupCompleted = false;
    bool generateNextKey = false;
    bool ignoreClicks = false;
    QString notSpecifiedText;   // program text 7
    QString keyLinePrefix;  // program text 6
    QString nextRunSetupPath;
};

}  // namespace kyv
