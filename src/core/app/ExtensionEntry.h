#pragma once
// The extension typed in the file-specification dialogs, and the output specification made from it.

#include <QString>

namespace kyv {

struct CleanedExtension {
    QString trimmed;       // the typed text without leading and trailing spaces
    QString extension;     // without a leading "*." or "."
    bool refused = false;  // a "." remains: the dialog shows ExtensionRefusalText and stays open
};

// " *.DOC ", ".DOC" and "DOC" all give DOC; "tar.gz" is refused.
[[nodiscard]] CleanedExtension CleanExtension(const QString& typed);

// "Extension must not contain "."."
[[nodiscard]] QString ExtensionRefusalText();

// The output specification for output files with `extension`: a plain input name keeps its base
// ("report.txt" gives "report.enc", "README" gives "README.enc"); a wildcard or empty input
// specification gives "*." and the extension.
[[nodiscard]] QString OutputSpecWithExtension(const QString& inputSpec, const QString& extension);

}  // namespace kyv
