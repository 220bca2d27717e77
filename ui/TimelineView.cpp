#include "ui/TimelineView.h"

#include <algorithm>
#include <cmath>

namespace ov {

void TimelineView::SetDomain(int32_t seconds, int width) {
  const bool wasAll = m_span >= double(m_seconds);
  m_seconds = std::max<int32_t>(seconds, 1);
  m_width = std::max(width, 1);
  // A view of the whole recording stays whole as the recording's length becomes known.
  if (wasAll) m_span = double(m_seconds);
  Clamp();
}

double TimelineView::XOfSecond(double second) const {
  return (second - m_first) * double(m_width) / m_span;
}

int32_t TimelineView::SecondAt(double x) const {
  const double s = std::floor(m_first + x * m_span / double(m_width));
  return int32_t(std::clamp(s, 0.0, double(m_seconds - 1)));
}

void TimelineView::ZoomAt(double x, double factor) {
  if (!(factor > 0.0)) return;
  const double anchor = m_first + x * m_span / double(m_width);
  const double minSpan = std::min(kMinSpanSeconds, double(m_seconds));
  m_span = std::clamp(m_span * factor, minSpan, double(m_seconds));
  m_first = anchor - x * m_span / double(m_width);
  Clamp();
}

void TimelineView::ScrollByPixels(double dx) {
  m_first -= dx * m_span / double(m_width);
  Clamp();
}

void TimelineView::Reveal(double second) {
  if (second < m_first)
    m_first = second;
  else if (second + 1.0 > m_first + m_span)
    m_first = second + 1.0 - m_span;
  Clamp();
}

void TimelineView::ShowAll() {
  m_first = 0.0;
  m_span = double(m_seconds);
}

void TimelineView::Clamp() {
  m_span = std::clamp(m_span, std::min(kMinSpanSeconds, double(m_seconds)), double(m_seconds));
  m_first = std::clamp(m_first, 0.0, double(m_seconds) - m_span);
}

std::optional<ActivityEvent> EventAtX(std::span<const ActivityEvent> events, const TimelineView& v,
                                      double x, double tolerance) {
  std::optional<ActivityEvent> best;
  double bestDistance = 0.0;
  for (const ActivityEvent& e : events) {
    const double left = v.XOfSecond(e.fromSecond), right = v.XOfSecond(double(e.toSecond) + 1.0);
    const double d = x < left ? left - x : x > right ? x - right : 0.0;
    if (d > tolerance) continue;
    if (!best || d < bestDistance) {
      best = e;
      bestDistance = d;
    }
  }
  return best;
}

std::optional<int32_t> EventJump(const ActivitySnapshot& snap, std::span<const int32_t> shown,
                                 int32_t now, int direction, int32_t grace) {
  std::optional<int32_t> best;
  for (const ChannelActivity& ch : snap.channels) {
    if (!shown.empty() && std::find(shown.begin(), shown.end(), ch.slot) == shown.end()) continue;
    for (const ActivityEvent& e : ch.events) {
      if (direction > 0 && e.fromSecond > now && (!best || e.fromSecond < *best))
        best = e.fromSecond;
      if (direction < 0 && e.fromSecond < now - grace && (!best || e.fromSecond > *best))
        best = e.fromSecond;
    }
  }
  return best;
}

}  // namespace ov
