#pragma once
// How one pane shows its channel beyond the recorded picture itself: the zoomed region, the
// picture adjustments and deinterlacing. Plain values, shared by the pane view, the decoders and
// the snapshot writer.
#include <cstdint>

#include "picture/PaneZoom.h"

namespace ov {

struct PictureAdjust {
  int32_t brightness = 0;    // -100..100: added light, -1..1 of full scale
  int32_t contrast = 100;    // percent, 0..300
  int32_t gamma = 100;       // percent, 10..1000
  int32_t saturation = 100;  // percent, 0..300
  bool Neutral() const { return *this == PictureAdjust{}; }
  // The same values brought into their ranges.
  PictureAdjust Clamped() const;
  bool operator==(const PictureAdjust&) const = default;
};

enum class Deinterlace : int32_t {
  Off = 0,
  On = 1,
  Auto = 2,  // only pictures the stream marks as interlaced
};

struct PictureSettings {
  zoom::Region region;
  PictureAdjust adjust;
  Deinterlace deinterlace = Deinterlace::Off;
  bool operator==(const PictureSettings&) const = default;
};

}  // namespace ov
