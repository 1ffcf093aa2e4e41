#pragma once
// Why a file of a run is turned down without being worked on, decided from what is known about the
// file and the run alone: nothing is looked at here, so every rule can be checked without files.

#include <QString>

#include "core/operation/FileResult.h"
#include "core/operation/FileTypes.h"
#include "platform/FileIdentity.h"

namespace kyv {

// A file the run never replaces, known by its path (compared without letter case) and by what it
// is (so that another spelling or a link to it is known too). No path: nothing is protected.
struct ProtectedFile {
    QString lowerPath;
    platform::FileIdentity identity;

    [[nodiscard]] bool Is(const QString& otherLowerPath, const platform::FileIdentity& other) const;
};

// What the refusals depend on in a run.
struct RefusalSetup {
    bool encrypting = true;
    bool inPlaceRun = false;  // the run's outputs replace its inputs
    ProtectedFile executable;
    ProtectedFile keyfile;
    ProtectedExtensions extensions;
};

// One file of a run as the rules see it.
struct FileFacts {
    platform::FilePath inputPath;
    // The input as opened, or as looked at when it could not be opened.
    platform::FileIdentity input;
    // The output is the input's own name in its own folder.
    bool inPlace = false;
    platform::FilePath outputPath;
    // What lies under the output name now; not looked at in place.
    platform::FileIdentity output;
};

enum class Refusal {
    None,  // the file goes on to the engine
    // Turned down before its length is shown: gone, locked or no longer a file since the folder
    // was listed, or with nothing in it to work on.
    Gone,
    CannotBeOpened,
    Empty,
    TooSmallToDecrypt,
    // Turned down once its length is shown.
    OwnExecutable,
    CurrentKeyfile,
    ProtectedExtension,
};

[[nodiscard]] Refusal RefusalOf(const FileFacts& file, const RefusalSetup& setup);

// The file's line shows no length.
[[nodiscard]] bool RefusedBeforeLength(Refusal refusal);

// How a refused file's result reads: gone or locked files are worded as the engine would word
// them. Done for None.
[[nodiscard]] FileResult::Outcome RefusalOutcome(Refusal refusal);

}  // namespace kyv
