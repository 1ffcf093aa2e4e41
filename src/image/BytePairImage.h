#pragma once
// The byte-pair picture as a Qt image, for the graphic window and the command-line tool alike, so
// that both show and save exactly the same picture. QtGui only: no windows.

#include <QImage>
#include <QString>

#include "core/analysis/BytePairPicture.h"
#include "platform/FilePath.h"

namespace kyv {

// One grey byte per pixel, black or white; a copy that does not follow later changes of `picture`.
[[nodiscard]] QImage BytePairImage(const BytePairPicture& picture);

// Saves the picture as a PNG file; false when it could not be written.
[[nodiscard]] bool SaveBytePairImage(const BytePairPicture& picture, const platform::FilePath& path);

}  // namespace kyv
