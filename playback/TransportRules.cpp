#include "playback/TransportRules.h"

namespace ov {

int32_t SpeedOfState(int32_t state) {
  switch (state) {
    case 21:
      return 1;
    case 22:
      return -1;
    case 23:
      return 2;
    case 26:
      return 1000;
    case 27:
      return -1000;
    case 28:
      return -2;
    case 29:
      return -4;
    case 30:
      return -8;
    case 31:
      return 4;
    case 32:
      return 8;
    case 33:
      return 16;
    case 35:
      return -16;
    case 36:
      return 32;
    case 38:
      return -32;
    case 39:
      return 64;
    default:
      return 0;
  }
}

bool IsRewState(int32_t s) {
  return s == 22 || s == 28 || s == 29 || s == 30 || s == 35 || s == 38;
}

bool IsFFState(int32_t s) { return s == 23 || s == 31 || s == 32 || s == 33 || s == 36 || s == 39; }

StateStep NextRewState(int32_t state) {
  switch (state) {
    case 22:
      return {28, "2X"};
    case 28:
      return {29, "4X"};
    case 29:
      return {30, "8X"};
    case 30:
      return {35, "16X"};
    case 35:
      return {38, nullptr};
    default:
      return {22, "1X"};
  }
}

StateStep NextFFState(int32_t state) {
  switch (state) {
    case 23:
      return {31, "4X"};
    case 31:
      return {32, "8X"};
    case 32:
      return {33, "16X"};
    case 33:
      return {36, "FF"};
    default:
      return {23, "2X"};
  }
}

}  // namespace ov
