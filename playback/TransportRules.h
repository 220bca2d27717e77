#pragma once
// The transport's states, their speeds and the steps of rew and ff.
#include <cstdint>

namespace ov {

// The numbers are the recorder software's own; they stay so that logs and checks that print a
// state read the same as before.
enum class TransportState : int32_t {
  Paused = 20,   // nothing moves: after an open, a pause or the end of the recording
  Playing = 21,  // forward at 1X
  Rew1X = 22,
  FF2X = 23,
  Rew2X = 28,
  Rew4X = 29,
  Rew8X = 30,
  FF4X = 31,
  FF8X = 32,
  FF16X = 33,
  Rew16X = 35,
  FF32X = 36,
  Rew32X = 38,
};

// The number a state is logged as.
inline int32_t StateNumber(TransportState s) { return static_cast<int32_t>(s); }

// Signed speed in X: positive forward, negative in reverse, 0 when paused.
int32_t SpeedOfState(TransportState state);
bool IsRewState(TransportState state);
bool IsFFState(TransportState state);

struct StateStep {
  TransportState state;
  const char* toolTip;  // null: the tooltip keeps its text
};
// Each press of rew (ff) goes one speed up, and from the top back to the lowest.
StateStep NextRewState(TransportState state);
StateStep NextFFState(TransportState state);

}  // namespace ov
