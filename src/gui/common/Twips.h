#pragma once
// Layout measures are written in twips, as the program's windows were designed; 15 twips make one
// logical pixel.

#include <QPoint>
#include <QRect>

namespace kyv::gui {

inline constexpr int kTwipsPerPixel = 15;

constexpr int Twips(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
constexpr int ToTwips(int pixels) { return pixels * kTwipsPerPixel; }
inline QRect TwipsRect(int left, int top, int width, int height)
{
    return QRect(Twips(left), Twips(top), Twips(width), Twips(height));
}

}  // namespace kyv::gui
