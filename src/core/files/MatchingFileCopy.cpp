#include "core/files/MatchingFileCopy.h"

#include <filesystem>
#include <system_error>

#include "core/files/FolderListing.h"
#include "core/files/FolderPath.h"
#include "core/files/OutputName.h"

namespace kyv {

int CopyMatchingFiles(const FilePath& source, const QString& fileSpec, const FilePath& destination,
                      const QString& destinationSpec, bool overwrite)
{
    QString errorText;
    const std::optional<FolderListing> listing = ListFolder(source, fileSpec, errorText);
    if (!listing) return 1;

    const auto options =
        overwrite ? std::filesystem::copy_options::overwrite_existing : std::filesystem::copy_options::none;
    int notCopied = 0;
    for (const QString& name : listing->matchingFiles) {
        OutputNameStatus status = kOutputNameMade;
        const QString target = MapOutputName(name, destinationSpec, status);
        std::error_code error;
        // A refused target (it exists and may not be overwritten) is an error of copy_file too.
        if (status < 0 || !std::filesystem::copy_file(source / name, destination / target, options, error))
            ++notCopied;
    }
    return notCopied;
}

}  // namespace kyv
