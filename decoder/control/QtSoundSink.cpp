#include "decoder/control/QtSoundSink.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QPointer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace ov {
namespace {

// Half a second of sound: enough to ride out scheduling hiccups, short enough to follow the
// picture.
constexpr size_t kRingSamples = kSoundRate / 2;

class SampleRing : public QIODevice {
 public:
  SampleRing() : m_ring(kRingSamples) { open(QIODevice::ReadOnly); }

  void Push(std::span<const int16_t> s) {
    std::lock_guard lock(m_mutex);
    for (int16_t v : s) {
      if (m_count == m_ring.size()) {  // full: drop the oldest
        m_head = (m_head + 1) % m_ring.size();
        --m_count;
      }
      m_ring[(m_head + m_count) % m_ring.size()] = v;
      ++m_count;
    }
  }
  void Clear() {
    std::lock_guard lock(m_mutex);
    m_head = m_count = 0;
  }
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override { return 4096 + QIODevice::bytesAvailable(); }

 protected:
  qint64 readData(char* data, qint64 maxlen) override {
    const size_t want = static_cast<size_t>(maxlen) / sizeof(int16_t);
    std::lock_guard lock(m_mutex);
    const size_t n = std::min(want, m_count);
    for (size_t i = 0; i < n; ++i) {
      const int16_t v = m_ring[(m_head + i) % m_ring.size()];
      std::memcpy(data + i * sizeof(int16_t), &v, sizeof v);
    }
    m_head = (m_head + n) % m_ring.size();
    m_count -= n;
    std::memset(data + n * sizeof(int16_t), 0, (want - n) * sizeof(int16_t));  // underrun: silence
    return static_cast<qint64>(want * sizeof(int16_t));
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  std::mutex m_mutex;
  std::vector<int16_t> m_ring;
  size_t m_head = 0;
  size_t m_count = 0;
};

class DeviceSink : public ISoundSink {
 public:
  DeviceSink(const QAudioDevice& device, const QAudioFormat& format)
      : m_sink(new QAudioSink(device, format)) {
    m_sink->setBufferSize(kSoundRate / 10 * static_cast<int>(sizeof(int16_t)));  // 100 ms
    m_sink->start(&m_ring);
  }
  ~DeviceSink() override {
    if (m_sink) {
      m_sink->stop();
      delete m_sink.data();
    }
  }
  void Write(std::span<const int16_t> samples) override { m_ring.Push(samples); }
  void Discard() override { m_ring.Clear(); }

 private:
  SampleRing m_ring;
  QPointer<QAudioSink> m_sink;
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
