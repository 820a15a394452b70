// Window geometry is designed in twips; Qt lays out in device-independent
// pixels, 15 twips to a pixel. Qt scales those for high-DPI screens.
#pragma once

#include <cmath>

namespace quorel {

inline constexpr double kTwipsPerPixel = 15.0;

inline constexpr double twipsToDip(double twips) {
    return twips / kTwipsPerPixel;
}
inline int twipsToPx(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
inline constexpr double pxToTwips(double px) {
    return px * kTwipsPerPixel;
}

}  // namespace quorel
