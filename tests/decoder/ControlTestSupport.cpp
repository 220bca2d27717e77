#include "tests/decoder/ControlTestSupport.h"

#include <QThread>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <map>
#include <thread>
#include <tuple>

#include "cli/sample/SampleWriter.h"
#include "decoder/control/PaneLayout.h"
#include "tests/decoder/FrameArgs.h"

namespace ov::test {

QApplication& App() { return *static_cast<QApplication*>(QCoreApplication::instance()); }

bool WaitFor(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return pred();
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

void Pump(std::chrono::milliseconds duration) {
  WaitFor([] { return false; }, duration);
}

const std::vector<sample::EncodedFrame>& Clip(int coding, int width, int height, int channel,
                                              int count, int gop) {
  static std::map<std::tuple<int, int, int, int, int, int>, std::vector<sample::EncodedFrame>>
      cache;
  auto key = std::make_tuple(coding, width, height, channel, count, gop);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  sample::VideoParams p;
  p.coding = coding;
  p.width = width;
  p.height = height;
  p.gop = gop;
  std::vector<sample::EncodedFrame> frames;
  sample::EncodeChannelVideo(p, channel, 0, static_cast<uint32_t>(count),
                             [&](const sample::EncodedFrame& f) { frames.push_back(f); });
  return cache.emplace(key, std::move(frames)).first->second;
}

void SubmitVideo(CQuelmar_Ctrl_Player& player, int channel, const sample::EncodedFrame& f) {
  player.SubmitFrame(test::Frame(f.payload.data(), 1709294400,
                                 static_cast<int32_t>(f.frameNumber * 40 % 1000), 0,
                                 static_cast<int32_t>(f.payload.size()), f.key ? 1 : 0, channel));
}

QImage Grab(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

std::optional<sample::StampValue> ReadPane(const QImage& img, QRect content, double aspect) {
  const QRect r = pane::Centred(content, pane::FitSize(content.size(), aspect));
  return sample::ReadStamp(img.constBits(), img.width(), img.height(),
                           static_cast<int>(img.bytesPerLine()),
                           sample::StampRect{r.x(), r.y(), r.width(), r.height()});
}

int Brightest(const QImage& img, QRect rect) {
  int best = 0;
  const QRect r = rect.intersected(img.rect());
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = r.left(); x <= r.right(); ++x)
      best = std::max({best, qRed(line[x]), qGreen(line[x]), qBlue(line[x])});
  }
  return best;
}

void CaptureSink::Write(std::span<const int16_t> samples) {
  // Its output is the capture: the gain applies as the samples arrive.
  const float g = gain.load();
  std::lock_guard lock(m_mutex);
  for (int16_t v : samples) m_samples.push_back(static_cast<int16_t>(std::lround(v * g)));
}

void CaptureSink::Discard() {}

std::vector<int16_t> CaptureSink::Take() {
  std::lock_guard lock(m_mutex);
  std::vector<int16_t> out;
  out.swap(m_samples);
  return out;
}

}  // namespace ov::test
