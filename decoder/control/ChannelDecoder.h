#pragma once
// Decodes one channel's video on the shared decoding workers: libavcodec (one thread per context;
// the channels run in parallel instead) and libswscale straight to the pane's size in BGRA.
//
// The coding is taken from each key frame's start code; frames before the first key frame, and
// after a decode error up to the next key frame, are dropped, so a picture from a broken reference
// chain is never presented.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "decoder/AvHandles.h"
#include "decoder/control/DecodePool.h"
#include "decoder/control/FrameQueue.h"
#include "decoder/control/PacketPool.h"
#include "decoder/control/PictureBoard.h"
#include "decoder/control/VideoCoding.h"
#include "picture/PictureFilter.h"

namespace ov {

// The largest picture decoded (4096x2304): well above any recorder's channel, and small enough
// that sixteen channels with their reference frames stay within a few hundred MB.
inline constexpr int64_t kMaxPictureArea = int64_t(4096) * 2304;

class ChannelDecoder final : DecodePool::Job {
 public:
  struct Stats {
    uint64_t submitted = 0;
    uint64_t decoded = 0;
    uint64_t presented = 0;
    uint64_t errors = 0;
    uint64_t queueDropped = 0;    // refused or cleared by the queue
    uint64_t keyWaitDropped = 0;  // skipped by the decoder while waiting for a key frame
    size_t queueMax = 0;
  };
  // Called on the decoding thread with (channel, AVERROR) when a frame fails to decode.
  using ErrorFn = std::function<void(int channel, int error)>;

  ChannelDecoder(int channel, PictureBoard& board, ErrorFn onError = {});
  ~ChannelDecoder();
  ChannelDecoder(const ChannelDecoder&) = delete;
  ChannelDecoder& operator=(const ChannelDecoder&) = delete;

  // Any thread: copies the payload (into a pooled buffer) and queues it; returns at once. A frame
  // with show false is decoded but not shown, and is never dropped: the caller waits for room.
  void Submit(const uint8_t* data, size_t size, bool key, int32_t fTime, int32_t msec,
              bool show = true, uint32_t tag = 0);
  // Any thread: forgets queued frames and decoder state; blank also empties the channel's pane,
  // otherwise its last picture stays up until the next one replaces it.
  void Flush(bool blank = true);
  // Any thread: the pane's size changed; the decoder redraws its last picture if it has one.
  void Wake();
  Stats GetStats() const;
  size_t QueueSize() const { return m_queue.Size(); }
  // False when no decoding thread could be started (the process is out of threads or memory):
  // the channel then drops what it is given; StartError says why.
  bool Running() const { return m_running; }
  const std::string& StartError() const { return m_startError; }
  // Tests: while set, every channel for which fail(channel) is true fails to start as it does
  // when its decoding thread cannot start under a resource limit.
  using StartFailFn = bool (*)(int channel);
  static void SetStartFailureForTest(StartFailFn fail);

 private:
  // On a pool worker: decodes what is queued for up to one slice, then redraws if asked to.
  void Work() override;
  bool Shown() const;
  void Decode(EncodedFrame& f);
  bool Open(VideoCoding coding);
  void Close();
  struct FrameMeta {
    uint32_t generation = 0;
    std::chrono::steady_clock::time_point submitted{};
    uint32_t tag = 0;
  };
  // redraw: the picture already shown, made again for a new pane size or view setting.
  void Show(const AVFrame* frame, const FrameMeta& meta, bool redraw = false);
  void Fail(int error);
  QImage& TakeImage(QSize size);

  const int m_channel;
  PictureBoard& m_board;
  ErrorFn m_onError;
  PacketPool m_packets;
  FrameQueue m_queue;
  std::atomic<uint32_t> m_generation{0};
  std::atomic<uint64_t> m_submitted{0}, m_decoded{0}, m_presented{0}, m_errors{0},
      m_keyWaitDropped{0};

  std::atomic<bool> m_redraw{false};  // Wake() was called: look at the pane's size again

  // The pool's worker running this channel only (one at a time).
  av::CodecContext m_ctx;
  av::Frame m_frame;
  av::Frame m_last;  // last good picture, kept to redraw it at a new pane size
  av::Frame m_prev;  // the one shown before it: the deinterlacer's look back
  PictureFilter m_filter;
  FrameMeta m_lastMeta;
  uint64_t m_lastTarget = ~uint64_t(0);  // the board's target serial the last picture was made for
  av::Packet m_packet;
  av::Scaler m_sws;
  VideoCoding m_coding = VideoCoding::Unknown;
  uint32_t m_lastGeneration = 0;
  bool m_needKey = true;
  // Pictures, reused once the board has let go of them: one on screen, one being painted, the
  // rest held back to wait for the sound.
  static constexpr size_t kMaxImages = 8;
  std::vector<QImage> m_images;

  bool m_running = false;  // set once, before the decoder is handed out
  std::string m_startError;
  std::shared_ptr<DecodePool> m_pool;  // set last: work is handed to it once everything exists
};

}  // namespace ov
