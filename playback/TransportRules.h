#pragma once
// The transport state tables: speeds of the states and the steps of rew and ff.
#include <cstdint>

namespace ov {

int32_t SpeedOfState(int32_t state);
bool IsRewState(int32_t state);  // 22, 28, 29, 30, 35, 38
bool IsFFState(int32_t state);   // 23, 31, 32, 33, 36, 39

struct StateStep {
  int32_t state;
  const char* toolTip;  // null: the tooltip keeps its text
};
StateStep NextRewState(int32_t state);
StateStep NextFFState(int32_t state);

}  // namespace ov
