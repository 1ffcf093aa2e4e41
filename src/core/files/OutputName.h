#pragma once
// Output names derived from input names by an output file specification, in the manner of a
// command-line rename: "*" and "?" take characters of the input name by position.

#include <QString>

namespace kyv {

enum OutputNameStatus : int {
    kOutputNameMade = 0,
    kOutputNameEqualsInput = 1,  // the name made is the input name exactly (case-sensitive)
    kInputNameEmpty = -1,
    kOutputSpecEmpty = -2,
    kInputNameHasWildcard = -3,
    kOutputNameEmpty = -4,
    kOutputNameOutsideFolder = -5,  // "." or "..": the output folder or its parent, never a file in it
};

// The output name of `inputName` under `outputSpec` (trimmed of spaces at either end; the name is
// taken as it is); empty for every negative status.
// Examples: report.txt with "*.enc" gives report.enc, with "x*.*" xeport.txt, with "??.bak" re.bak.
[[nodiscard]] QString MapOutputName(const QString& inputName, const QString& outputSpec,
                                    OutputNameStatus& status);

// One part (base or extension) of an output name: each "?" takes the name part's character at
// its own position (or vanishes when the name part is shorter); a "*" takes the rest of the name
// part from its position on and ends the pattern.
[[nodiscard]] QString SubstituteWildcards(const QString& namePart, const QString& patternPart);

}  // namespace kyv
