#pragma once
// The picture of a still camera for the activity tests: a fixed scene, sensor noise that changes
// every frame, and an object that crosses the picture only at given times.
#include <cstdint>
#include <vector>

#include "cli/sample/FrameStamp.h"

namespace ov::sample {

// An object crossing channel `channel` (a slot) between seconds from and to of the recording.
struct Motion {
  int channel = 0;
  double from = 0, to = 0;
};

struct StillSceneParams {
  int fps = 25;
  int noise = 0;  // sensor noise: each pixel's brightness moves by up to this much, every frame
  std::vector<Motion> motions;
};

// Draws frame `frame` of channel `channel`. The same arguments draw the same picture.
void DrawStillScene(const YuvPicture& pic, int channel, uint32_t frame, const StillSceneParams& p);

}  // namespace ov::sample
