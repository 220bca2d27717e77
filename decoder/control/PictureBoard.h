#pragma once
// The pictures the panes show, one slot per channel, shared between the decoding threads (which
// present pictures) and the window thread (which paints them).
//
// Each slot carries a generation: flushing a channel raises it, and a picture decoded for an
// older generation is refused, so nothing from before a clear reappears after it.
//
// Pictures can be held back by a delay (the time sound takes through the sound device), so that
// picture and sound of one instant come out together: a presented picture waits in its slot's
// queue until it is due, and the window thread brings due pictures up when it takes the dirty set.
#include <QImage>
#include <QSize>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "picture/PictureSettings.h"

namespace ov {

inline constexpr int kChannels = 16;

struct Picture {
  QImage image;  // null: the pane has no picture
  std::chrono::steady_clock::time_point submitted{};
  uint64_t serial = 0;  // counts pictures presented on the slot
  uint32_t tag = 0;     // the submitter's name for the frame shown
};

class PictureBoard {
 public:
  // Decoding threads. Returns false (and keeps the slot) when generation is stale.
  bool Present(int channel, uint32_t generation, QImage image,
               std::chrono::steady_clock::time_point submitted, uint32_t tag = 0);
  // Decoding threads: the picture up in the slot made again (a new pane size, zoom or setting).
  // Taken when generation is current, or when the slot still shows the picture tagged tag
  // (nonzero) from before a pause or a clear kept it up; never brings back a blanked slot.
  bool Redraw(int channel, uint32_t generation, QImage image, uint32_t tag);
  // Any thread: the tag of the picture up in the slot (not one still held back); 0 if none.
  uint32_t ShownTag(int channel) const;
  // Any thread: empties the slot and makes generation the current one.
  void Blank(int channel, uint32_t generation);
  // Any thread: makes generation the current one; the picture stays until a newer one comes.
  // Pictures still held back are dropped either way.
  void Advance(int channel, uint32_t generation);
  // Set before any picture is presented: returns how long to hold pictures back (0: show at once).
  void SetDelaySource(std::function<std::chrono::milliseconds()> delay);
  // Window thread: when the next held-back picture is due, if any.
  std::optional<std::chrono::steady_clock::time_point> NextDue() const;

  // Window thread: the picture and whether it changed since the last call to TakeDirty.
  Picture Get(int channel) const;
  uint32_t TakeDirty();  // bit n: channel n changed; brings due pictures up first
  bool AnyPicture() const;
  // Any thread: the channel cannot be decoded (its decoder did not start); its pane says so.
  void SetUnavailable(int channel);
  bool Unavailable(int channel) const;

  // Size a channel's pictures are scaled to (its pane's size); an empty size means the channel is
  // not visible and needs no scaling. Set by the window thread, read by the decoders.
  void SetTargetSize(int channel, QSize size);
  QSize TargetSize(int channel) const;
  // How a channel's pictures are made from the decoded ones (zoom, adjustments, deinterlacing).
  // Set by the window thread, read by the decoders; a change calls the size listener as well.
  void SetSettings(int channel, const PictureSettings& settings);
  PictureSettings Settings(int channel) const;
  // Everything a decoder needs for its next picture, read at once; serial counts changes to it.
  struct Target {
    QSize size;
    PictureSettings settings;
    uint64_t serial = 0;
  };
  Target TargetOf(int channel) const;

  // Called (from a decoding thread) after a picture was presented or a slot blanked; the listener
  // must only post work to the window thread. Clearing it waits for running calls to end.
  void SetListener(std::function<void()> listener);
  // Called (on the thread that set it) with the channel whose target size changed. The same
  // rules as for the listener above.
  void SetSizeListener(std::function<void(int)> listener);

 private:
  void Notify();
  struct Held {
    Picture picture;
    std::chrono::steady_clock::time_point due;
  };
  static constexpr size_t kMaxHeld = 64;  // over 2 s at 25 frames a second

  mutable std::mutex m_mutex;
  std::array<Picture, kChannels> m_pictures{};
  std::array<std::deque<Held>, kChannels> m_held{};
  std::function<std::chrono::milliseconds()> m_delay;
  std::array<uint32_t, kChannels> m_generation{};
  std::array<QSize, kChannels> m_target{};
  std::array<PictureSettings, kChannels> m_settings{};
  std::array<uint64_t, kChannels> m_targetSerial{};
  uint32_t m_dirty = 0;
  uint32_t m_unavailable = 0;  // bit n: channel n
  std::mutex m_listenerMutex;
  std::function<void()> m_listener;
  std::function<void(int)> m_sizeListener;
};

}  // namespace ov
