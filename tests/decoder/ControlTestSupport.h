#pragma once
// Helpers of the decoder control tests: the Qt application, encoded sample clips, reading a pane's
// picture back, and a sound sink that records what it is given.
#include <QApplication>
#include <QImage>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "cli/sample/FrameStamp.h"
#include "cli/sample/VideoEncoder.h"
#include "decoder/Quelmar_Ctrl_Player.h"
#include "decoder/control/SoundSink.h"

namespace ov::test {

// The test program's QApplication (made by its main, offscreen platform).
QApplication& App();

// Processes events until pred holds or timeout passes; returns pred's last value.
bool WaitFor(const std::function<bool()>& pred,
             std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));
void Pump(std::chrono::milliseconds duration);

// Frames 0..count-1 of one channel's sample video (cached: encoding is slow).
const std::vector<sample::EncodedFrame>& Clip(int coding, int width, int height, int channel,
                                              int count, int gop = 25);

// Hands one video frame to the control the way the playback loop does.
void SubmitVideo(CQuelmar_Ctrl_Player& player, int channel, const sample::EncodedFrame& f);

// The stamp shown in a channel's pane of the view (its widget grabbed), or nothing when the pane
// shows no readable sample picture. aspect: the picture's width / height.
std::optional<sample::StampValue> ReadPane(const QImage& grabbed, QRect content, double aspect);
QImage Grab(QWidget* w);
// Largest colour component over rect: a blank pane stays dark.
int Brightest(const QImage& img, QRect rect);

class CaptureSink : public ISoundSink {
 public:
  void Write(std::span<const int16_t> samples) override;
  void Discard() override;
  void Hold() override { ++holds; }
  void SetGain(float g) override { gain = g; }
  std::vector<int16_t> Take();
  std::atomic<int> holds{0};
  std::atomic<float> gain{1.0f};

 private:
  std::mutex m_mutex;
  std::vector<int16_t> m_samples;
};

}  // namespace ov::test
