#pragma once
// The player window's keys: one table that makes the shortcuts, the tooltips' key hints and the
// "Keyboard shortcuts" text; and the neighbouring backup files that Page Up and Page Down open.
#include <optional>
#include <span>
#include <string>

namespace ov {

enum class KeyAction {
  PlayPause,
  Forward5,
  Back5,
  Forward59,
  Back59,
  NextFFSpeed,
  NextRewSpeed,
  FrameStep,
  FrameBack,
  GoToTime,
  First,
  Last,
  VolumeUp,
  VolumeDown,
  Mute,
  Layout1,
  Layout4,
  Layout9,
  Layout16,
  FullScreen,
  ZoomIn,
  ZoomOut,
  ZoomReset,
  PictureAdjust,
  DeinterlaceNext,
  SaveSnapshot,
  SaveView,
  Open,
  NextFile,
  PreviousFile,
  Quit,
  Timeline,
  NextEvent,
  PreviousEvent,
  NextEventAny,
  PreviousEventAny,
  Swallow,  // taken so that it never reaches a focused button
};

struct KeyBinding {
  KeyAction action;
  const char* keys[2];  // portable key sequence texts; the second may be null
  const char* help;     // null: not listed
};

std::span<const KeyBinding> KeyBindings();

// "Space, K" for an action (empty when it has no key).
std::string KeysOf(KeyAction action);

// The list the "Keyboard shortcuts" item shows, one key and its action per line.
std::string ShortcutsHelpText();

// The ".ysk" file after (direction > 0) or before (direction < 0) path among the ".ysk" files of
// its folder in name order, matched without regard to case; nothing at either end or when the
// folder cannot be read.
std::optional<std::string> NeighbourYskFile(const std::string& path, int direction);

}  // namespace ov
