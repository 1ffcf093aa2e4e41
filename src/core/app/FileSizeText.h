#pragma once
// Sizes of files as the status lines show them: "0 bytes", "1023 bytes", "1.50 KB", "2.25 MB".

#include <QString>

#include "platform/FilePath.h"

namespace kyv {

// Below 1024 the byte count itself; below 1,048,576 kilobytes, else megabytes, each with `decimals`
// decimals in the user's number format.
[[nodiscard]] QString FormatFileSize(double bytes, int decimals);

// FormatFileSize of the file's length; empty when the path is empty or names no file.
[[nodiscard]] QString FileSizeText(const platform::FilePath& path, int decimals);

}  // namespace kyv
