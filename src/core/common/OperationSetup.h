#pragma once
// The one record that says which operation "Do it!" will perform, with the working values the
// main window keeps beside it.

#include <QString>
#include <array>

namespace kyv {

enum Side : int { kInputSide = 0, kOutputSide = 1 };

struct OperationSetup {
    bool blnEncrypt = true;
    // Folder (ending in one separator when set) and file specification of each side.
    std::array<QString, 2> strDirpath;
    std::array<QString, 2> strFilespec;
    bool blnOutputFilesSame = false;
    bool blnSubdirectories = false;
    bool blnConfirmFiles = false;

    const QString& InputDirpath() const { return strDirpath[kInputSide]; }
    const QString& InputFilespec() const { return strFilespec[kInputSide]; }
    const QString& OutputDirpath() const { return strDirpath[kOutputSide]; }
    const QString& OutputFilespec() const { return strFilespec[kOutputSide]; }
};

// Values kept by the main window beside the setup.
struct WorkingValues {
    int intNumFiles = 0;
    int intMinFilesizeForRandomness = 256;
    double dblMinKyvRandomness = 0.89;
    int intCharWidth = 106;
    QString strCurrentFilePath;
    qint64 lngFilesize = 0;
    bool blnStartupCompleted = false;
    bool blnGenerateNextKey = false;
    bool blnIgnoreClicks = false;
    QString strNotSpecified;   // program text 7
    QString strKeyLinePrefix;  // program text 6
    QString strNextRunSetupPath;
};

}  // namespace kyv
