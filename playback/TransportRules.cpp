#include "playback/TransportRules.h"

namespace ov {

using S = TransportState;

int32_t SpeedOfState(S state) {
  switch (state) {
    case S::Paused:
      return 0;
    case S::Playing:
      return 1;
    case S::Rew1X:
      return -1;
    case S::Rew2X:
      return -2;
    case S::Rew4X:
      return -4;
    case S::Rew8X:
      return -8;
    case S::Rew16X:
      return -16;
    case S::Rew32X:
      return -32;
    case S::FF2X:
      return 2;
    case S::FF4X:
      return 4;
    case S::FF8X:
      return 8;
    case S::FF16X:
      return 16;
    case S::FF32X:
      return 32;
  }
  return 0;
}

bool IsRewState(S s) { return SpeedOfState(s) < 0; }

bool IsFFState(S s) { return SpeedOfState(s) > 1; }

StateStep NextRewState(S state) {
  switch (state) {
    case S::Rew1X:
      return {S::Rew2X, "2X"};
    case S::Rew2X:
      return {S::Rew4X, "4X"};
    case S::Rew4X:
      return {S::Rew8X, "8X"};
    case S::Rew8X:
      return {S::Rew16X, "16X"};
    case S::Rew16X:
      return {S::Rew32X, nullptr};
    default:
      return {S::Rew1X, "1X"};
  }
}

StateStep NextFFState(S state) {
  switch (state) {
    case S::FF2X:
      return {S::FF4X, "4X"};
    case S::FF4X:
      return {S::FF8X, "8X"};
    case S::FF8X:
      return {S::FF16X, "16X"};
    case S::FF16X:
      return {S::FF32X, "FF"};
    default:
      return {S::FF2X, "2X"};
  }
}

}  // namespace ov
