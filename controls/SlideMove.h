#pragma once

#include <optional>

namespace ov {

// What moved a slider, as CSkinSlider::scrollNotify and CVolumeSlider::scrollNotify report it.
enum class SlideMove {
  LineBack,       // Left or Up
  LineForward,    // Right or Down
  PageBack,       // Page Up
  PageForward,    // Page Down
  ThumbReleased,  // let go after the position changed during the press
  ThumbDragged,   // the pointer moved the thumb while pressed
  ToStart,        // Home
  ToEnd,          // End
  Ended,          // the press or the key that moved it is over
};

// The move a navigation key (Qt::Key) makes, if any.
std::optional<SlideMove> SlideMoveForKey(int qtKey);

}  // namespace ov
