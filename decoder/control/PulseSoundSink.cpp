#include "decoder/control/PulseSoundSink.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>

#include "decoder/control/LagMeter.h"
#include "decoder/control/SampleRing.h"

namespace ov {
namespace pulse {

namespace {
constexpr uint32_t kBytesPerMs = kSoundRate / 1000 * sizeof(int16_t);
}

pa_buffer_attr BufferAttr(int targetMs, int periodMs) {
  targetMs = std::clamp(targetMs, 10, 2000);
  periodMs = std::clamp(periodMs, 5, targetMs);
  pa_buffer_attr a{};
  a.maxlength = static_cast<uint32_t>(-1);
  a.tlength = static_cast<uint32_t>(targetMs) * kBytesPerMs;
  a.prebuf = static_cast<uint32_t>(periodMs) * kBytesPerMs;
  a.minreq = static_cast<uint32_t>(periodMs) * kBytesPerMs;
  a.fragsize = static_cast<uint32_t>(-1);
  return a;
}

pa_volume_t VolumeOf(float gain) {
  if (!(gain > 0.0f)) return PA_VOLUME_MUTED;  // NaN included
  if (gain >= 1.0f) return PA_VOLUME_NORM;
  return pa_sw_volume_from_linear(gain);
}

size_t HandOver(SampleRing& ring, void* dst, size_t bytes) {
  const auto whole = static_cast<qint64>(bytes / sizeof(int16_t) * sizeof(int16_t));
  if (whole == 0) return 0;
  const qint64 got = ring.read(static_cast<char*>(dst), whole);
  return got > 0 ? static_cast<size_t>(got) : 0;
}

}  // namespace pulse

namespace {

using Clock = std::chrono::steady_clock;

// Sound frames come every 200 ms while sound plays; a longer silence means it stopped.
constexpr std::chrono::milliseconds kFlowing{500};
// Weight of a new latency reading: smooths the saw-tooth of 200 ms sound frames arriving whole.
// Kept at the server and asked for again in periods: long enough that the client thread wakes
// about 20 times a second, short enough that a frame arriving late does not run it dry for long.
constexpr int kTargetMs = 150;
constexpr int kPeriodMs = 50;
constexpr pa_usec_t kConnectTimeoutUs = 1000000;
// While the server is away it is asked for again with sound to play, no more often than this; an
// attempt it has not answered by then is given up for a new one.
constexpr std::chrono::seconds kRetryEvery{1};

void Say(const char* text, const char* detail = nullptr) {
  if (detail)
    std::fprintf(stderr, "CQL_Ctrl_Player: %s: %s\n", text, detail);
  else
    std::fprintf(stderr, "CQL_Ctrl_Player: %s\n", text);
}

// A stream the server refuses is refused again and again: said once in the program's life.
void SayOnce(const char* text, const char* detail = nullptr) {
  static std::atomic<bool> said{false};
  if (!said.exchange(true)) Say(text, detail);
}

// OV_PULSE_BUFFER=TARGET,PERIOD (milliseconds) tries other sizes without a rebuild.
pa_buffer_attr ChosenBufferAttr() {
  int target = kTargetMs;
  int period = kPeriodMs;
  if (const char* env = std::getenv("OV_PULSE_BUFFER")) {
    int t = 0;
    int p = 0;
    if (std::sscanf(env, "%d,%d", &t, &p) == 2 && t > 0 && p > 0) {
      target = t;
      period = p;
    }
  }
  return pulse::BufferAttr(target, period);
}

class Lock {
 public:
  explicit Lock(pa_threaded_mainloop* loop) : m_loop(loop) { pa_threaded_mainloop_lock(m_loop); }
  ~Lock() { pa_threaded_mainloop_unlock(m_loop); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  pa_threaded_mainloop* m_loop;
};

// Every call into libpulse and every member below the ring is used under the main loop's lock:
// the playback thread writes, the window sets the volume and pauses, and the server's requests
// run on the main loop's own thread. The latency figures are atomics, read without the lock.
class PulseSink : public ISoundSink {
 public:
  static std::unique_ptr<PulseSink> Connect(const char* server) {
    std::unique_ptr<PulseSink> sink(new PulseSink);
    return sink->Start(server) ? std::move(sink) : nullptr;
  }

  ~PulseSink() override {
    if (m_loop) {
      {
        Lock lock(m_loop);
        Close();
        pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_loop);
        if (m_idleCheck) api->time_free(m_idleCheck);
        if (m_reconnect) api->defer_free(m_reconnect);
        if (m_context) {
          pa_context_set_state_callback(m_context, nullptr, nullptr);
          pa_context_disconnect(m_context);
        }
      }
      pa_threaded_mainloop_stop(m_loop);
    }
    if (m_context) pa_context_unref(m_context);
    if (m_loop) pa_threaded_mainloop_free(m_loop);
    if (m_stats) m_lag.Report();
  }

  void Write(std::span<const int16_t> samples) override {
    if (samples.empty()) return;
    const auto now = Clock::now();
    Lock lock(m_loop);
    m_lastWrite.store(now.time_since_epoch().count());
    if (pa_context_get_state(m_context) != PA_CONTEXT_READY) {
      // The server went away: only the newest sound waits for it to come back, what came before
      // would be late by then. The stream opens once the new connection is ready.
      m_ring.Clear();
      m_ring.Push(samples, now);
      AskServerAgain(now);
      return;
    }
    m_ring.Push(samples, now);
    if (!m_stream)
      Open();
    else
      Feed();
  }

  // A move, another channel or a pause: the old place's sound stops at once. Closing the stream
  // drops what the server still holds; the next Write opens a new one.
  void Discard() override { Stop(); }
  void Hold() override { Stop(); }

  void SetGain(float gain) override {
    Lock lock(m_loop);
    m_gain = gain;
    SendVolume();
  }

  // Pictures wait for the sound only while sound flows: fast forward and reverse play have none.
  std::chrono::milliseconds Latency() const override {
    if (!Flowing()) return std::chrono::milliseconds(0);
    return std::chrono::milliseconds(std::lround(m_lag.SmoothedMs()));
  }
  double LagNowMs() const override { return Flowing() ? m_lag.LatestMs() : -1.0; }

 private:
  // Until the server's first reading the pictures wait the lead-in and one period: the server
  // holds no more than has come, which at 1X is far less than the target, so the target would hold
  // the first pictures back some 100 ms more than the sound they go with.
  PulseSink()
      : m_attr(ChosenBufferAttr()),
        m_stats(std::getenv("OV_AV_STATS") != nullptr),
        m_lag(FirstGuessMs()) {}

  double FirstGuessMs() const {
    return 1000.0 * SampleRing::kLeadIn / kSoundRate +
           static_cast<double>(m_attr.minreq) / (kSoundRate * sizeof(int16_t)) * 1000;
  }

  bool Start(const char* server) {
    if (server) m_server = server;
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop) return false;
    pa_threaded_mainloop_set_name(m_loop, "ov-sound");
    m_context = NewContext();
    if (!m_context) return false;
    if (pa_threaded_mainloop_start(m_loop) < 0) return false;
    Lock lock(m_loop);
    // A server that accepts the connection but never answers must not hang the start-up.
    pa_time_event* timeout = pa_context_rttime_new(m_context, pa_rtclock_now() + kConnectTimeoutUs,
                                                   &OnConnectTimeout, this);
    pa_context_state_t state;
    while ((state = pa_context_get_state(m_context)) != PA_CONTEXT_READY &&
           PA_CONTEXT_IS_GOOD(state) && !m_timedOut)
      pa_threaded_mainloop_wait(m_loop);
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_loop);
    if (timeout) api->time_free(timeout);
    if (state != PA_CONTEXT_READY) return false;
    m_reconnect = api->defer_new(api, &OnReconnect, this);
    if (m_reconnect) api->defer_enable(m_reconnect, 0);
    return true;
  }

  // A context connecting to the server; nullptr when it cannot even start to.
  pa_context* NewContext() {
    pa_context* c = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Ostravue");
    if (!c) return nullptr;
    pa_context_set_state_callback(c, &OnContextState, this);
    // No autospawn: a desktop without a sound server gets Qt's output or none, not a new server.
    if (pa_context_connect(c, m_server ? m_server->c_str() : nullptr, PA_CONTEXT_NOAUTOSPAWN,
                           nullptr) < 0) {
      pa_context_set_state_callback(c, nullptr, nullptr);
      pa_context_unref(c);
      return nullptr;
    }
    return c;
  }

  // Sound to play and no server: a new connection is made on the sound thread, so neither the
  // playback thread nor the window waits for it. Nothing is tried while no sound comes, so an
  // idle player is not woken.
  void AskServerAgain(Clock::time_point now) {
    if (!m_reconnect || now - m_lastAttempt < kRetryEvery) return;
    m_lastAttempt = now;
    pa_threaded_mainloop_get_api(m_loop)->defer_enable(m_reconnect, 1);
  }

  void Stop() {
    Lock lock(m_loop);
    m_ring.Clear();
    Close();
  }

  void Open() {
    if (pa_context_get_state(m_context) != PA_CONTEXT_READY) return;
    const pa_sample_spec spec{PA_SAMPLE_S16NE, kSoundRate, 1};
    m_stream = pa_stream_new(m_context, "Sound", &spec, nullptr);
    if (!m_stream) return;
    pa_stream_set_state_callback(m_stream, &OnStreamState, this);
    pa_stream_set_write_callback(m_stream, &OnWritable, this);
    m_ring.RestartCount();
    m_written = 0;
    pa_cvolume volume;
    m_sentVolume = pulse::VolumeOf(m_gain);
    pa_cvolume_set(&volume, 1, m_sentVolume);
    // The server sizes the device's own buffer to the stream's target (ADJUST_LATENCY); timing
    // updates let the latency be read without asking the server each time.
    const auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_ADJUST_LATENCY | PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_playback(m_stream, nullptr, &m_attr, flags, &volume, nullptr) < 0) {
      SayOnce("the sound server refused a stream", pa_strerror(pa_context_errno(m_context)));
      Close();
    }
  }

  void Close() {
    if (m_idleCheck && m_idleArmed)
      pa_context_rttime_restart(m_context, m_idleCheck, PA_USEC_INVALID);
    m_idleArmed = false;
    if (!m_stream) return;
    pa_stream_set_write_callback(m_stream, nullptr, nullptr);
    if (pa_stream_get_state(m_stream) == PA_STREAM_CREATING) {
      // Not connected yet: it can only be disconnected once the server has made it, or it would
      // stay on the server, silent, for as long as we are connected.
      pa_stream_set_state_callback(m_stream, &DisconnectWhenReady, nullptr);
      m_stream = nullptr;
      return;
    }
    pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    if (pa_stream_get_state(m_stream) == PA_STREAM_READY) pa_stream_disconnect(m_stream);
    pa_stream_unref(m_stream);
    m_stream = nullptr;
  }

  // Hands the server as much of the ring as it has room for. Called when the server asks and when
  // a frame arrives (the server stops asking once it has run dry).
  void Feed() {
    if (!m_stream || pa_stream_get_state(m_stream) != PA_STREAM_READY) return;
    const size_t room = pa_stream_writable_size(m_stream);
    const size_t want =
        room == static_cast<size_t>(-1) ? 0 : std::min(room, m_ring.Queued() * sizeof(int16_t));
    if (want >= sizeof(int16_t)) {
      void* data = nullptr;
      size_t size = want;
      if (pa_stream_begin_write(m_stream, &data, &size) == 0 && data) {
        const size_t got = pulse::HandOver(m_ring, data, std::min(size, want));
        if (got > 0 && pa_stream_write(m_stream, data, got, nullptr, 0, PA_SEEK_RELATIVE) == 0)
          m_written += got / sizeof(int16_t);
        else
          pa_stream_cancel_write(m_stream);
      }
    }
    ReadLatency();
    if (m_ring.Queued() == 0) ArmIdleCheck();
  }

  // How late the sample now heard is against the moment it was meant to be heard. The server's
  // latency is the time until the last sample written is heard, its device included.
  void ReadLatency() {
    pa_usec_t usec = 0;
    int negative = 0;
    if (pa_stream_get_latency(m_stream, &usec, &negative) < 0) return;
    if (negative) usec = 0;
    const uint64_t pending = usec * kSoundRate / 1000000;
    if (pending > m_written) return;
    m_lag.Heard(m_ring.DueTimeOfPulled(m_written - pending));
  }

  // One timer, armed only while the ring is empty, closes the stream once sound stopped flowing
  // (the end of the recording, fast forward), so nothing wakes an idle player.
  void ArmIdleCheck() {
    if (m_idleArmed) return;
    const Clock::time_point last{Clock::duration(m_lastWrite.load())};
    const auto wait =
        std::max<Clock::duration>(last + kFlowing - Clock::now(), std::chrono::milliseconds(10));
    const pa_usec_t at =
        pa_rtclock_now() +
        static_cast<pa_usec_t>(std::chrono::duration_cast<std::chrono::microseconds>(wait).count());
    if (!m_idleCheck)
      m_idleCheck = pa_context_rttime_new(m_context, at, &OnIdleCheck, this);
    else
      pa_context_rttime_restart(m_context, m_idleCheck, at);
    m_idleArmed = m_idleCheck != nullptr;
  }

  void SendVolume() {
    if (!m_stream || pa_stream_get_state(m_stream) != PA_STREAM_READY) return;
    const pa_volume_t v = pulse::VolumeOf(m_gain);
    if (v == m_sentVolume) return;
    pa_cvolume volume;
    pa_cvolume_set(&volume, 1, v);
    if (pa_operation* op = pa_context_set_sink_input_volume(
            m_context, pa_stream_get_index(m_stream), &volume, nullptr, nullptr))
      pa_operation_unref(op);
    m_sentVolume = v;
  }

  bool Flowing() const {
    const Clock::time_point last{Clock::duration(m_lastWrite.load())};
    return Clock::now() - last < kFlowing;
  }

  static void OnContextState(pa_context* c, void* self) {
    auto* sink = static_cast<PulseSink*>(self);
    const pa_context_state_t state = pa_context_get_state(c);
    if (state == PA_CONTEXT_READY) {
      sink->m_wasReady = true;
      if (sink->m_lost) {
        sink->m_lost = false;
        Say("the sound server is back; playing sound again");
        // Another server, perhaps with another device: how late it plays is measured afresh.
        sink->m_lag.Restart(sink->FirstGuessMs());
        if (!sink->m_stream && sink->m_ring.Queued() > 0) sink->Open();
      }
    }
    // No server to begin with is not news: the next output is tried and says so itself.
    if (!PA_CONTEXT_IS_GOOD(state) && sink->m_wasReady) {
      sink->m_wasReady = false;
      if (!sink->m_lost) Say("the sound server went away; playing on without sound");
      sink->m_lost = true;
    }
    pa_threaded_mainloop_signal(sink->m_loop, 0);
  }

  // The sound thread, under the main loop's lock: drops the dead connection (and its stream) and
  // starts a new one. Its state callback opens the stream once it is ready.
  static void OnReconnect(pa_mainloop_api* api, pa_defer_event* e, void* self) {
    auto* sink = static_cast<PulseSink*>(self);
    api->defer_enable(e, 0);
    if (pa_context_get_state(sink->m_context) == PA_CONTEXT_READY) return;
    pa_context* fresh = sink->NewContext();
    if (!fresh) return;  // tried again with the next sound after a second
    sink->Close();
    pa_context_set_state_callback(sink->m_context, nullptr, nullptr);
    pa_context_disconnect(sink->m_context);
    pa_context_unref(sink->m_context);
    sink->m_context = fresh;
  }

  static void OnConnectTimeout(pa_mainloop_api*, pa_time_event*, const struct timeval*,
                               void* self) {
    auto* sink = static_cast<PulseSink*>(self);
    sink->m_timedOut = true;
    pa_threaded_mainloop_signal(sink->m_loop, 0);
  }

  static void OnStreamState(pa_stream* s, void* self) {
    auto* sink = static_cast<PulseSink*>(self);
    switch (pa_stream_get_state(s)) {
      case PA_STREAM_READY:
        if (sink->m_stats) {
          if (const pa_buffer_attr* a = pa_stream_get_buffer_attr(s))
            std::fprintf(stderr, "CQL_Ctrl_Player: sound buffer %u ms, asked for by %u ms\n",
                         a->tlength / pulse::kBytesPerMs, a->minreq / pulse::kBytesPerMs);
        }
        sink->SendVolume();
        sink->Feed();
        break;
      case PA_STREAM_FAILED:
        // Kept until the next pause or move, so a refused stream is not asked for again with
        // every frame. With the whole server gone the context has said so already.
        if (PA_CONTEXT_IS_GOOD(pa_context_get_state(pa_stream_get_context(s))))
          SayOnce("the sound stream failed", pa_strerror(pa_context_errno(sink->m_context)));
        break;
      default:
        break;
    }
  }

  static void DisconnectWhenReady(pa_stream* s, void*) {
    const pa_stream_state_t state = pa_stream_get_state(s);
    if (state == PA_STREAM_READY) {
      pa_stream_disconnect(s);
    } else if (!PA_STREAM_IS_GOOD(state)) {
      pa_stream_set_state_callback(s, nullptr, nullptr);
      pa_stream_unref(s);
    }
  }

  static void OnWritable(pa_stream*, size_t, void* self) { static_cast<PulseSink*>(self)->Feed(); }

  static void OnIdleCheck(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* self) {
    auto* sink = static_cast<PulseSink*>(self);
    sink->m_idleArmed = false;
    if (sink->m_ring.Queued() != 0) return;  // the next Feed arms it again
    if (sink->Flowing()) return sink->ArmIdleCheck();
    sink->m_ring.Clear();  // the next sound starts after a lead-in again
    sink->Close();
  }

  const pa_buffer_attr m_attr;
  const bool m_stats;
  LagMeter m_lag;
  pa_threaded_mainloop* m_loop = nullptr;
  pa_context* m_context = nullptr;
  std::optional<std::string> m_server;  // none: the user's
  bool m_timedOut = false;
  // The main loop's thread, or under its lock.
  bool m_wasReady = false;  // the current context was ready
  bool m_lost = false;      // a server that was there went away and is not back yet
  pa_defer_event* m_reconnect = nullptr;
  Clock::time_point m_lastAttempt{};
  SampleRing m_ring;
  pa_stream* m_stream = nullptr;
  pa_time_event* m_idleCheck = nullptr;
  bool m_idleArmed = false;
  float m_gain = 1.0f;
  pa_volume_t m_sentVolume = PA_VOLUME_NORM;
  uint64_t m_written = 0;  // samples handed to the stream since it opened
  std::atomic<Clock::rep> m_lastWrite{0};
};

}  // namespace

std::unique_ptr<ISoundSink> PulseSoundSink::Create(const char* server) {
  return PulseSink::Connect(server);
}

}  // namespace ov
