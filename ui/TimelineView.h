#pragma once
// The activity timeline's arithmetic, apart from its painting: which seconds the strips show
// (zoom and scroll), the second under a pixel and back, the event under the pointer, and which
// event the next / previous event keys go to.
//
// Threads: plain values, used on the window thread.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "activity/Activity.h"

namespace ov {

class TimelineView {
 public:
  // Seconds across the strips at the deepest zoom: a few minutes, enough to tell events apart.
  static constexpr double kMinSpanSeconds = 180.0;

  // The recording has `seconds` seconds (0 .. seconds - 1, at least one); the plot is width pixels.
  void SetDomain(int32_t seconds, int width);
  int32_t Seconds() const { return m_seconds; }
  int Width() const { return m_width; }
  double First() const { return m_first; }
  double Span() const { return m_span; }
  bool ZoomedIn() const { return m_span < double(m_seconds); }

  // Second s starts at XOfSecond(s) and ends where s + 1 starts; pixels from the plot's left.
  double XOfSecond(double second) const;
  // The whole second at pixel x, clamped to the recording.
  int32_t SecondAt(double x) const;

  // factor < 1 zooms in, > 1 out, keeping the second under x in place.
  void ZoomAt(double x, double factor);
  // Moves the view by dx pixels as a drag does: the picture follows the pointer.
  void ScrollByPixels(double dx);
  // Brings second s into view, keeping the zoom (a playhead that ran off the edge).
  void Reveal(double second);
  void ShowAll();

 private:
  void Clamp();
  int32_t m_seconds = 1;
  int m_width = 1;
  double m_first = 0.0;
  double m_span = 1.0;
};

// The event whose marker lies at pixel x (within tolerance pixels), nearest first; none when
// nothing is there.
std::optional<ActivityEvent> EventAtX(std::span<const ActivityEvent> events, const TimelineView& v,
                                      double x, double tolerance);

// Where the next (direction > 0) or previous (< 0) event key goes from second `now`: the start of
// the first event starting after now, or of the last one starting before now - grace (so a
// second press just after landing on an event goes to the one before it). Channels not in
// shown are left out; an empty list means every channel.
std::optional<int32_t> EventJump(const ActivitySnapshot& snap, std::span<const int32_t> shown,
                                 int32_t now, int direction, int32_t grace = 2);

}  // namespace ov
