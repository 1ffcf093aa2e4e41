#pragma once
// The randomness report command without its windows: which side it may report on, whether the
// chosen side gives the graphic of one file or a listing, and what the single file's measure
// leads to.

#include <QString>
#include <QtGlobal>
#include <optional>

#include "platform/FilePath.h"

namespace kyv {

class Prompter;
struct OperationSetup;

enum class RandomnessReportKind {
    Refused,     // the user was told why there is nothing to report
    SingleFile,  // one named file: its measure and the graphic window
    Listing,     // a wildcard or subfolders: the listing in the report window
};

struct RandomnessReportPlan {
    RandomnessReportKind kind = RandomnessReportKind::Refused;
    platform::FilePath folder;
    QString spec;
    // The single file: the file specification appended to the folder as the setup holds them.
    [[nodiscard]] platform::FilePath File() const { return folder.WithSuffix(spec); }
};

// False, after "Neither input files nor output files are specified.", when no side has a folder
// and a specification.
[[nodiscard]] bool RandomnessReportPossible(const OperationSetup& setup, Prompter& prompter);

// Looks at the chosen side (kInputSide or kOutputSide). A folder that cannot be read is named; a
// missing file or a wildcard without matching files is named unless subfolders are included.
[[nodiscard]] RandomnessReportPlan PlanRandomnessReport(const OperationSetup& setup, int side,
                                                        Prompter& prompter);

// "Randomness report for input files *.doc"
[[nodiscard]] QString RandomnessListingCaption(int side, const QString& spec);

// What the graphic window shows of one measured file.
struct RandomnessGraphicText {
    QString caption;     // "Input file: letter.doc"
    QString fileSize;    // "Filesize = 1,000 bytes"
    QString randomness;  // "Randomness = 0.951"
    qint64 length = 0;   // the bytes drawn: the size made even
};

// The single file's measure: the graphic window's texts, or nothing after the user was told that
// the file is too small or cannot be measured.
[[nodiscard]] std::optional<RandomnessGraphicText> SingleFileRandomness(int side, const QString& spec,
                                                                        qint64 size, double randomness,
                                                                        Prompter& prompter);

}  // namespace kyv
