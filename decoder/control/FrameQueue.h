#pragma once
// Bounded queue of encoded video frames for one channel, between the thread that submits frames
// and the channel's decoding thread.
//
// When the queue is full the newest frames are dropped up to the next key frame, so the decoder
// only ever sees complete reference chains; a key frame arriving at a full queue replaces the
// stale backlog so the picture catches up instead of lagging further.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "decoder/control/PacketPool.h"

namespace ov {

struct EncodedFrame {
  PacketBuffer data;       // payload followed by zeroed padding the decoder may read
  size_t payloadSize = 0;  // what the queue's byte limit counts
  bool key = false;
  uint32_t generation = 0;  // frames of an older generation are stale after a flush
  int32_t fTime = 0;
  int32_t msec = 0;
  bool show = true;  // false: decoded on the way to a picture, never shown
  uint32_t tag = 0;
  std::chrono::steady_clock::time_point submitted{};
};

class FrameQueue {
 public:
  // Limits: the queue counts as full once its oldest frame has waited maxAge and the queued
  // frames span more than maxAge of recording time, so a channel that falls behind real time
  // drops to its next key frame instead of showing ever older pictures (80 ms: two frame
  // intervals at the recorder's usual 25 frames a second). 25 frames and the byte limit bound
  // memory when frames come faster than that, at high speeds.
  explicit FrameQueue(size_t maxFrames = 25, size_t maxBytes = 2u << 20,
                      std::chrono::milliseconds maxAge = std::chrono::milliseconds(80));

  // Any thread. Returns false when the frame was dropped. Behind decode-only frames it waits (up
  // to kRoomWait) for room instead: they and the landing picture after them must not be lost.
  bool Push(EncodedFrame frame);
  // The same for a frame that must not be lost (the decode-only run before a landing picture):
  // waits up to bound for room instead of dropping, and the age rule does not apply to it.
  bool PushWaiting(EncodedFrame frame, std::chrono::milliseconds bound);
  static constexpr std::chrono::milliseconds kRoomWait{2000};
  // Decoding thread: waits up to timeout for a frame; nullopt on timeout, after Stop() or when
  // Wake() was called since the last Pop.
  std::optional<EncodedFrame> Pop(std::chrono::milliseconds timeout);
  // The same without a time limit: the decoding thread sleeps until there is work.
  std::optional<EncodedFrame> Pop();
  // Any thread: makes the waiting Pop (or the next one) return, so the decoder can look at
  // something other than the queue (a new pane size).
  void Wake();
  // A queued frame if there is one, without waiting; leaves a pending Wake() for the next Pop.
  std::optional<EncodedFrame> TryPop();
  bool Stopped() const;
  // Removes every queued frame; the next frame accepted is a key frame.
  void Clear();
  // Drops queued frames up to (not including) the next key frame; used after a decode error.
  void DropToNextKey();
  void Stop();

  size_t Size() const;
  size_t Bytes() const;
  uint64_t Dropped() const;
  size_t MaxSizeSeen() const;

 private:
  void ClearLocked();
  bool FullLocked(const EncodedFrame& frame, std::chrono::steady_clock::time_point now) const;
  bool PushLocked(EncodedFrame& frame, bool full, std::chrono::steady_clock::time_point now);
  void RoomLocked();
  std::optional<EncodedFrame> TakeLocked(bool honourWake);
  EncodedFrame& At(size_t i) { return m_ring[(m_head + i) % m_ring.size()]; }
  void PopFrontLocked();
  void HiddenTakenLocked();  // a decode-only frame left the queue

  const size_t m_maxFrames;
  const size_t m_maxBytes;
  const std::chrono::steady_clock::duration m_maxAge;
  mutable std::mutex m_mutex;
  std::condition_variable m_cv;
  // A ring of m_maxFrames slots: queueing a frame allocates nothing.
  std::vector<EncodedFrame> m_ring;
  std::vector<std::chrono::steady_clock::time_point> m_queuedAt;  // parallel to m_ring
  size_t m_head = 0, m_count = 0;
  size_t m_bytes = 0;
  bool m_waitKey = true;  // nothing decodes before a channel's first key frame
  bool m_stopped = false;
  bool m_woken = false;
  bool m_waiting = false;  // the decoder sleeps in Pop: only then does a push wake it
  std::condition_variable m_room;
  int m_pushWaiting = 0;  // submitters waiting in PushWaiting: only then does a pop wake one
  size_t m_hidden = 0;    // decode-only frames queued
  uint64_t m_dropped = 0;
  size_t m_maxSizeSeen = 0;
};

}  // namespace ov
