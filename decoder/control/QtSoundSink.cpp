#include "decoder/control/QtSoundSink.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "decoder/control/LagMeter.h"
#include "decoder/control/PulseSoundSink.h"
#include "decoder/control/SampleRing.h"

namespace ov {
namespace {

using Clock = std::chrono::steady_clock;

// How often the sound clock is read to update the latency pictures are held back by, and to
// notice that sound stopped flowing.
constexpr std::chrono::milliseconds kClockPoll{20};
// Weight of a new latency reading: smooths the saw-tooth of 200 ms sound frames arriving whole.
// Sound frames come every 200 ms while sound plays; a longer silence means it stopped.
constexpr std::chrono::milliseconds kFlowing{500};
// Device buffer asked for. The device is fed on a thread of its own, so a short buffer does not
// run dry when the window is busy; what it holds is played at the old volume and, after a
// move, is the old place's sound, so it is kept short.
constexpr int kDeviceBufferMs = 60;
constexpr int kDeviceBufferBytes = kSoundRate * kDeviceBufferMs / 1000 * sizeof(int16_t);
// What the latency is taken to be before the device has been read: the ring's lead-in and the
// device's buffer.
constexpr double kFirstLatencyMs = 1000.0 * SampleRing::kLeadIn / kSoundRate + kDeviceBufferMs;

// The device, its clock readings and the idle check live on the sound thread; the playback
// thread only pushes into the ring and flags, the window thread only reads the latency.
class DeviceSink : public ISoundSink {
 public:
  DeviceSink(const QAudioDevice& device, const QAudioFormat& format)
      : m_stats(std::getenv("OV_AV_STATS") != nullptr) {
    m_thread.setObjectName(QStringLiteral("sound"));
    m_home.moveToThread(&m_thread);
    m_thread.start();
    QMetaObject::invokeMethod(
        &m_home,
        [this, device, format] {
          m_sink = new QAudioSink(device, format);
          m_poll = new QTimer;
          m_poll->setInterval(kClockPoll);
          QObject::connect(m_poll, &QTimer::timeout, [this] { Poll(); });
        },
        Qt::BlockingQueuedConnection);
  }
  ~DeviceSink() override {
    QMetaObject::invokeMethod(
        &m_home,
        [this] {
          delete m_poll;
          if (m_sink) m_sink->stop();
          delete m_sink.data();
        },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    if (m_stats) m_lag.Report();
  }
  void Write(std::span<const int16_t> samples) override {
    const auto now = Clock::now();
    m_lastWrite.store(now.time_since_epoch().count());
    m_ring.Push(samples, now);
    // The device runs only while sound flows: started by the first sound after a stop.
    if (!m_running.exchange(true)) OnSoundThread([this] { StartDevice(); });
  }
  // A move or another channel: the sound of the old place stops at once, what the device still
  // holds included; the next Write starts the device again.
  void Discard() override { Stop(); }
  void Hold() override { Stop(); }
  void SetGain(float gain) override { m_ring.SetGain(gain); }
  // Pictures wait for the sound only while sound flows: fast forward and reverse play have none.
  std::chrono::milliseconds Latency() const override {
    if (!Flowing()) return std::chrono::milliseconds(0);
    return std::chrono::milliseconds(std::lround(m_lag.SmoothedMs()));
  }
  double LagNowMs() const override { return Flowing() ? m_lag.LatestMs() : -1.0; }

 private:
  void Stop() {
    m_running.store(false);
    m_ring.Clear();
    OnSoundThread([this] { StopDevice(); });
  }

  // Sound thread: how late the sample now heard is against the moment it was meant to be heard
  // (its frame's hand-over plus its place in the frame). The device's clock counts the samples
  // it took; those still in its buffer are not heard yet.
  void Poll() {
    if (!m_sink) return;
    if (!Flowing() && m_ring.Queued() == 0) return Idle();
    if (m_sink->state() != QAudio::ActiveState && m_sink->state() != QAudio::IdleState) return;
    const int64_t taken = (m_sink->processedUSecs() - m_processedBase) * kSoundRate / 1000000;
    const int64_t inDevice = std::max<int64_t>(0, (m_sink->bufferSize() - m_sink->bytesFree()) / 2);
    if (taken - inDevice < 0) return;
    m_lag.Heard(m_ring.DueTimeOfPulled(static_cast<uint64_t>(taken - inDevice)));
  }

  // Sound thread: nothing to play for a while: the device and both timers stop, so an idle
  // player is not woken every period. A Write racing with this starts the device again.
  void Idle() {
    if (m_running.exchange(false)) StopDevice();
    if (Flowing() && !m_running.exchange(true)) StartDevice();
  }

  template <typename F>
  void OnSoundThread(F&& f) {
    // A call still queued when the sink goes is dropped with the thread's events.
    QMetaObject::invokeMethod(&m_home, std::forward<F>(f), Qt::QueuedConnection);
  }

  void StartDevice() {
    if (!m_sink || m_sink->state() != QAudio::StoppedState) return;
    // Pull mode: the device takes from the ring whenever its server wants data.
    m_ring.RestartCount();
    // Asked for at every start: the device reports the size its server granted, and asking for
    // that the next time can end with less than the server waits for before it plays, so the
    // device would never play again.
    m_sink->setBufferSize(kDeviceBufferBytes);
    m_sink->start(&m_ring);
    m_processedBase = m_sink->processedUSecs();
    m_poll->start();
  }

  // Closing the stream drops what the server still holds, so nothing plays on after a stop.
  void StopDevice() {
    if (m_poll) m_poll->stop();
    if (m_sink) m_sink->stop();
  }

  bool Flowing() const {
    const Clock::time_point last{Clock::duration(m_lastWrite.load())};
    return Clock::now() - last < kFlowing;
  }

  SampleRing m_ring;
  QThread m_thread;
  QObject m_home;  // lives on m_thread: where the device's calls run
  QPointer<QAudioSink> m_sink;
  QTimer* m_poll = nullptr;
  std::atomic<Clock::rep> m_lastWrite{0};
  std::atomic<bool> m_running{false};  // the device is started or about to be
  int64_t m_processedBase = 0;         // the device's sound clock at its start
  LagMeter m_lag{kFirstLatencyMs};
  const bool m_stats;
};

class SilentSink : public ISoundSink {
 public:
  void Write(std::span<const int16_t>) override {}
  void Discard() override {}
};

void SayOnce(const char* text) {
  static std::atomic<bool> said{false};
  if (!said.exchange(true)) std::fprintf(stderr, "CQL_Ctrl_Player: %s\n", text);
}

}  // namespace

std::unique_ptr<ISoundSink> QtSoundSink::Create() {
  // A PulseAudio server (PipeWire's pulse server too) gets a stream of our own with a long
  // period; Qt's output, whose stream is fed every 20 ms, stays for other systems.
  // OV_SOUND=qt picks Qt's output anyway, for comparisons.
  const char* choice = std::getenv("OV_SOUND");
  if (!choice || std::string_view(choice) != "qt") {
    if (auto sink = PulseSoundSink::Create()) return sink;
  }
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  QAudioFormat format;
  format.setSampleRate(kSoundRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  if (device.isNull()) {
    SayOnce("no sound device; playing on without sound");
    return std::make_unique<SilentSink>();
  }
  if (!device.isFormatSupported(format)) {
    SayOnce("the sound device does not take 8 kHz mono; playing on without sound");
    return std::make_unique<SilentSink>();
  }
  return std::make_unique<DeviceSink>(device, format);
}

}  // namespace ov
