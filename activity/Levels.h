#pragma once
// The arithmetic of the analysis, apart from any thread or file: turning a per-second measure
// into levels 0..1 against the channel's own usual, and levels into events.
#include <cstdint>
#include <vector>

#include "activity/Activity.h"

namespace ov::activity {

// What one channel's frames say about each second.
struct SecondTally {
  uint64_t interBytes = 0;  // payload bytes of frames predicted from earlier ones
  uint32_t interCount = 0;
  uint64_t keyBytes = 0;
  uint32_t keyCount = 0;
};

// Seconds without a frame but with frames at most this far on both sides still count as
// recorded: a camera at a low frame rate leaves seconds without a picture.
inline constexpr int32_t kGapFill = 2;

// Per second: true when the channel has a recording there.
std::vector<uint8_t> Coverage(const std::vector<SecondTally>& t);

// The size measure of each second: mean bytes per predicted frame (key frames are the encoder's
// choice, not the scene's, so they are left out), or the mean key frame where a channel has
// nothing else. Negative where the second has no frame.
std::vector<float> SizeMeasure(const std::vector<SecondTally>& t);

// A measure of seconds turned into levels 0..1: how far each second stands above the channel's
// usual around it (a running median, in units of the channel's own spread), so a noisy camera,
// a high bit rate or a slow drift sets its own floor. Seconds not covered get kNoRecording; a
// covered second without a measure takes its neighbour's level. floor is the smallest rise of the
// measure, in its own units, that can count at all (stops a near-silent channel's jitter).
std::vector<float> NormalisedLevels(const std::vector<float>& measure,
                                    const std::vector<uint8_t>& covered, float floor);

// Both answers in one: the larger of the two at every second, so either may find an event.
std::vector<float> Combine(const std::vector<float>& a, const std::vector<float>& b);

// Level at or above which a second is active.
inline constexpr float kEventLevel = 0.25f;
// An event must reach this level somewhere: a stretch that only grazes kEventLevel is the
// channel's own jitter far more often than something that moved.
inline constexpr float kEventPeak = 0.4f;
// Active stretches this close together are one event.
inline constexpr int32_t kEventJoin = 2;

// Intervals of active seconds, stretches joined across short pauses, never across seconds
// without recording.
std::vector<ActivityEvent> FindEvents(const std::vector<float>& level);

}  // namespace ov::activity
