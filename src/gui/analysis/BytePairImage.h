#pragma once
// The byte-pair picture as a Qt image. Header-only and QtGui only, so that the command-line tool,
// which has no windows, saves exactly the picture the graphic window shows.

#include <QImage>

#include "core/analysis/BytePairPicture.h"

namespace kyv::gui {

// One grey byte per pixel, black or white; a copy that does not follow later changes of `picture`.
inline QImage BytePairImage(const BytePairPicture& picture)
{
    constexpr int kSide = BytePairPicture::kSide;
    return QImage(picture.Pixels(), kSide, kSide, kSide, QImage::Format_Grayscale8).copy();
}

}  // namespace kyv::gui
