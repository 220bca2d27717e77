#pragma once
// The engine's narrow view of the player window, in meanings: which text, which look, which part
// to repaint. The window decides which control and which picture shows each.
//
// Threads: every member may be called from the window thread, the playback thread and a seek
// thread, concurrently. The window implements each call by posting it to its own thread (queued);
// an implementation must never block waiting for the window thread, because the window thread
// joins the worker threads. Arguments are passed by value; nothing is retained by reference.
#include <cstdint>
#include <string>

namespace ov {

enum class ViewText : uint8_t {
  Date,       // date and time of the second being played
  Speed,      // "( Rew %dX )", "( FF %dX )", "Buffering", a skipped frame
  TotalTime,  // "hh : mm : ss / hh : mm : ss"
  Version,    // the hidden version label
  Product,    // the hidden product label
  Path,       // the path box
};

// What the Play button offers: to play, or (while playing) to pause.
enum class PlayButtonLook : uint8_t { Play, Pause };

enum class SpeedButton : uint8_t { Rew, FF };

class IPlayerView {
 public:
  virtual ~IPlayerView() = default;
  virtual void SetText(ViewText which, std::string utf8) = 0;
  // Seek slider: position with redraw, and its range (set once per open).
  virtual void SetSeekPos(int pos) = 0;
  virtual void SetSeekRange(int min, int max) = 0;
  // The seek slider's filled-track look (false for a file rejected by its length).
  virtual void SetSeekTrackFilled(bool filled) = 0;
  // The window's part of resetting the player controls: every button back to its resting look,
  // the seek slider repainted, the pictures updated at once. The engine writes the status texts
  // and calls the decoder itself.
  virtual void ResetControls() = 0;
  virtual void ShowPlayButtonAs(PlayButtonLook look) = 0;
  // The speaker button's look: sound on or off.
  virtual void ShowSoundOn(bool on) = 0;
  // Shows or hides "Searching...".
  virtual void ShowSearching(bool shown) = 0;
  // Tooltip text of the rew or ff button (the tooltip shows nowhere; kept for fidelity).
  virtual void SetSpeedTip(SpeedButton button, std::string utf8) = 0;
  // Repaints (with erase) the pictures, e.g. after the decoder's mode changed; or the seek slider.
  virtual void RepaintPictures() = 0;
  virtual void RepaintSeekSlider() = 0;
};

}  // namespace ov
