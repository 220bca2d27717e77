#include "decoder/control/QtSoundSink.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "decoder/control/SampleRing.h"

namespace ov {
namespace {

using Clock = std::chrono::steady_clock;

// How often the sound clock is read to update the latency pictures are held back by.
constexpr std::chrono::milliseconds kClockPoll{20};
// Weight of a new latency reading: smooths the saw-tooth of 200 ms sound frames arriving whole.
constexpr double kLatencySmoothing = 0.05;
// Sound frames come every 200 ms while sound plays; a longer silence means it stopped.
constexpr std::chrono::milliseconds kFlowing{500};
// Device buffer asked for. The device tops it up one period per tick of the window thread's
// timer, so a busy window thread must still find enough room to catch up in one go; too small a
// buffer (100 ms) let the ring grow by over a second while the server ran dry.
constexpr int kDeviceBufferMs = 250;

class DeviceSink : public ISoundSink {
 public:
  DeviceSink(const QAudioDevice& device, const QAudioFormat& format)
      : m_sink(new QAudioSink(device, format)), m_stats(std::getenv("OV_AV_STATS") != nullptr) {
    m_sink->setBufferSize(kSoundRate * kDeviceBufferMs / 1000 * static_cast<int>(sizeof(int16_t)));
    m_poll.setInterval(kClockPoll);
    QObject::connect(&m_poll, &QTimer::timeout, [this] { ReadClock(); });
    m_poll.start();
  }
  ~DeviceSink() override {
    m_poll.stop();
    if (m_sink) {
      m_sink->stop();
      delete m_sink.data();
    }
    if (m_stats && m_readings > 0)
      std::fprintf(stderr, "CQL_Ctrl_Player: sound latency %.0f ms over %d readings\n",
                   m_latencyMs.load(), m_readings);
  }
  void Write(std::span<const int16_t> samples) override {
    const auto now = Clock::now();
    m_lastWrite.store(now.time_since_epoch().count());
    m_ring.Push(samples, now);
    // The device runs only while sound flows: started by the first sound after a pause (or at
    // all), on the thread it belongs to.
    if (!m_running.exchange(true)) OnSinkThread([this] { StartDevice(); });
  }
  void Discard() override { m_ring.Clear(); }
  void Hold() override {
    m_running.store(false);
    m_ring.Clear();
    OnSinkThread([this] { StopDevice(); });
  }
  // Pictures wait for the sound only while sound flows: fast forward and reverse play have none.
  std::chrono::milliseconds Latency() const override {
    if (!Flowing()) return std::chrono::milliseconds(0);
    return std::chrono::milliseconds(static_cast<int64_t>(m_latencyMs.load()));
  }
  double LagNowMs() const override { return Flowing() ? m_lagNowMs.load() : -1.0; }

 private:
  // Window thread (the sink's): how late the sample now heard is against the moment it was
  // meant to be heard (its frame's hand-over plus its place in the frame).
  void ReadClock() {
    if (!m_sink || m_sink->state() != QAudio::ActiveState) return;
    const int64_t played = (m_sink->processedUSecs() - m_processedBase) * kSoundRate / 1000000;
    const auto due = m_ring.DueTimeOfPulled(static_cast<uint64_t>(played));
    if (!due) return;
    const double late = std::chrono::duration<double, std::milli>(Clock::now() - *due).count();
    if (late < 0 || late > 2000) return;  // a reading across a clear or a stall
    m_lagNowMs.store(late);
    const double old = m_latencyMs.load();
    m_latencyMs.store(m_readings == 0 ? late : old + kLatencySmoothing * (late - old));
    ++m_readings;
  }

  template <typename F>
  void OnSinkThread(F&& f) {
    // The timer lives on the sink's thread; a call still queued when the sink goes is dropped.
    QMetaObject::invokeMethod(&m_poll, std::forward<F>(f), Qt::AutoConnection);
  }

  void StartDevice() {
    if (!m_sink || m_sink->state() != QAudio::StoppedState) return;
    // Pull mode: the device asks the ring whenever its server wants data, at whatever period.
    m_ring.RestartCount();
    m_sink->start(&m_ring);
    m_processedBase = m_sink->processedUSecs();
  }

  // Closing the stream drops what the server still holds, so nothing plays on after a pause.
  void StopDevice() {
    if (m_sink) m_sink->stop();
  }

  bool Flowing() const {
    const Clock::time_point last{Clock::duration(m_lastWrite.load())};
    return Clock::now() - last < kFlowing;
  }

  SampleRing m_ring;
  QPointer<QAudioSink> m_sink;
  std::atomic<Clock::rep> m_lastWrite{0};
  std::atomic<double> m_lagNowMs{-1.0};
  QTimer m_poll;
  std::atomic<bool> m_running{false};  // the device is started or about to be
  int64_t m_processedBase = 0;         // the device's sound clock at its start
  std::atomic<double> m_latencyMs{0.0};
  int m_readings = 0;
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
