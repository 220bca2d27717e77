#pragma once
// The engine's narrow view of the player window.
//
// Threads: every member may be called from the window thread, the playback thread and a seek
// thread, concurrently. The window implements each call by posting it to its own thread (queued);
// an implementation must never block waiting for the window thread, because the window thread
// joins the worker threads. Arguments are passed by value; nothing is retained by reference.
#include <string>

#include "playback/ControlIds.h"

namespace ov {

class IPlayerView {
 public:
  virtual ~IPlayerView() = default;
  // Text of a static or edit control (ctl::kOsd, kSpeed, kTotalTime, kVer, kName, kPathBox), UTF-8.
  virtual void SetControlText(int id, std::string utf8) = 0;
  // Seek slider: position with redraw (TBM_SETPOS), and its range (set once per open).
  virtual void SetSeekPos(int pos) = 0;
  virtual void SetSeekRange(int min, int max) = 0;
  // The seek slider's filled-track look (false for a file rejected by its length).
  virtual void SetSeekTrackFilled(bool filled) = 0;
  // The window's part of resetting the player controls: every button back to its resting images
  // (each invalidated), the seek slider invalidated, the decoder window updated at once. The
  // engine writes the status texts and calls the decoder itself.
  virtual void ResetControls() = 0;
  // A button's first four SetBitmaps values; the window adds the fixed tail and invalidates it.
  virtual void SetButtonBitmaps(int id, ctl::ButtonImages images) = 0;
  // Shows or hides control 1044 ("Searching...").
  virtual void ShowSearching(bool shown) = 0;
  // Tooltip text of the rew or ff button (the tooltip shows nowhere; kept for fidelity).
  virtual void SetToolTipText(int id, std::string utf8) = 0;
  // Invalidates (with erase) a control's window, e.g. the decoder control after its mode changes.
  virtual void InvalidateControl(int id) = 0;
};

}  // namespace ov
