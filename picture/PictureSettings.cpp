#include "picture/PictureSettings.h"

#include <algorithm>

namespace ov {

PictureAdjust PictureAdjust::Clamped() const {
  PictureAdjust a;
  a.brightness = std::clamp(brightness, -100, 100);
  a.contrast = std::clamp(contrast, 0, 300);
  a.gamma = std::clamp(gamma, 10, 1000);
  a.saturation = std::clamp(saturation, 0, 300);
  return a;
}

}  // namespace ov
