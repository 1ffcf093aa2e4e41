#pragma once
// The texts of the main window's status labels: computed here, shown by the window.

#include <QString>
#include <array>

namespace kyv {

struct MainLabels {
    QString lblFunction;
    QString lblFunction2;
    QString cmdKeyFrom;  // caption of the key button
    QString lblSingleFile;
    std::array<QString, 2> lblDirectory;
    std::array<QString, 2> lblFiles;
    std::array<QString, 2> lblFiles2;
    // Left of each description in twips from the left of its specification label.
    std::array<int, 2> lblFiles2Left{};
    QString lblSubdirectories;
    QString lblSubdirectories2;
    QString lblOutputFilesSame;
    QString lblOutputFilesSame2;
    QString lblKeyFrom;
    QString lblSetupFilename;
};

}  // namespace kyv
