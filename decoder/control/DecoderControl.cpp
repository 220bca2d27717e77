#include "decoder/control/DecoderControl.h"

#include <QThread>
#include <QWidget>
#include <algorithm>
#include <cstdio>

#include "controls/NameText.h"
#include "decoder/DecoderWire.h"
#include "decoder/control/PaneView.h"
#include "decoder/control/QtSoundSink.h"

namespace ov {
namespace {

// Larger payloads are not video of this recorder; refusing them bounds the copy.
constexpr size_t kMaxPayload = 8u << 20;

}  // namespace

DecoderControl::DecoderControl(QWidget* parent, IDecoderEvents* events,
                               std::unique_ptr<ISoundSink> sink)
    : m_events(events),
      m_view(new PaneView(m_board, parent)),
      m_sound(sink ? std::move(sink) : QtSoundSink::Create(), SoundFormatFromEnvironment()) {
  m_board.SetSizeListener([this](int channel) {
    if (ChannelDecoder* c = m_channelPtr[channel].load(std::memory_order_acquire)) c->Wake();
  });
  m_board.SetDelaySource([this] { return m_sound.Latency(); });
  m_view->SetSoundLag([this] { return m_sound.LagNowMs(); });
  QObject::connect(m_view, &PaneView::paneSelected, m_view, [this](int pane, int channel) {
    m_sound.SetChannel(channel);
    Raise(DecoderEvent::PaneSelected(pane, channel));
  });
  QObject::connect(m_view, &PaneView::zoomChanged, m_view, [this](int channel, bool alone) {
    m_sound.SetChannel(channel);
    Raise(DecoderEvent::AloneChanged(channel, alone));
  });
}

DecoderControl::~DecoderControl() {
  // Decoders first: they present to the board the view reads.
  m_board.SetSizeListener({});
  for (auto& p : m_channelPtr) p.store(nullptr, std::memory_order_release);
  for (auto& c : m_channels) c.reset();
  delete m_view.data();
}

PaneView* DecoderControl::View() const { return m_view.data(); }

void* DecoderControl::Widget() { return static_cast<QWidget*>(m_view.data()); }

template <typename F>
void DecoderControl::OnViewThread(F&& f) {
  if (!m_view) return;
  if (QThread::currentThread() == m_view->thread()) {
    f();
  } else {
    QMetaObject::invokeMethod(m_view, std::forward<F>(f), Qt::QueuedConnection);
  }
}

int32_t DecoderControl::Invoke(int32_t id, std::span<const DispArg> args) {
  return DispatchCall(*this, id, args);
}

void DecoderControl::Deactivate() { ClearAll(true); }

void DecoderControl::ClearDecoder() { ClearAll(false); }

void DecoderControl::SetOwnerWindow(int32_t window) { m_owner.store(window); }

void DecoderControl::SetLayout(int32_t paneCount) {
  OnViewThread([this, paneCount] {
    if (!m_view) return;
    m_view->SetPaneCount(paneCount);
    m_sound.SetChannel(m_view->SelectedPane());  // the selection may have left the grid
  });
}

void DecoderControl::SetMode(int32_t mode, int32_t hold) {
  m_mode.store(mode);
  if (hold != 1) return;
  m_sound.Hold();
  std::lock_guard lock(m_channelsMutex);
  for (auto& c : m_channels)
    if (c) c->Flush(false);
}

uint32_t DecoderControl::ShownFrame(int32_t channel) { return m_board.ShownTag(channel); }

int32_t DecoderControl::PictureDelay() { return static_cast<int32_t>(m_sound.Latency().count()); }

int32_t DecoderControl::CurrentAudioChannel() { return m_sound.Channel(); }

void DecoderControl::SetVolume(int32_t volume) { m_sound.SetVolume(volume); }

void DecoderControl::SetStartOption(int index, int32_t value) {
  if (index >= 0 && index < kStartOptions) m_startOptions[static_cast<size_t>(index)].store(value);
}

void DecoderControl::SetPaneTitle(int32_t pane, std::string_view title) {
  if (pane < 0 || pane >= kChannels) return;
  QString text = NameText(title);
  OnViewThread([this, pane, text] {
    if (m_view) m_view->SetTitle(pane, text);
  });
}

int32_t DecoderControl::QueryActive() { return m_board.AnyPicture() ? 1 : 0; }

int32_t DecoderControl::SetProductText(std::string_view text) {
  QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  OnViewThread([this, t] {
    if (m_view) m_view->SetProductText(t);
  });
  return 0;
}

int32_t DecoderControl::SetVersionText(std::string_view text) {
  QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  OnViewThread([this, t] {
    if (m_view) m_view->SetVersionText(t);
  });
  return 0;
}

void DecoderControl::SubmitFrame(const FrameCall& f) {
  if (f.channel == -1) return ClearAll(true);  // the playback loop's reset call
  if (f.channel < 0 || f.channel >= kChannels) return;
  if (f.payload.empty() || f.payload.size() > kMaxPayload) return;
  if (f.audio) {
    m_sound.Submit(f.channel, f.payload);
    return;
  }
  Channel(f.channel).Submit(f.payload.data(), f.payload.size(), f.Key(), f.time, f.msec, f.show,
                            f.tag);
}

ChannelDecoder& DecoderControl::Channel(int channel) {
  if (ChannelDecoder* c = m_channelPtr[channel].load(std::memory_order_acquire)) return *c;
  std::lock_guard lock(m_channelsMutex);
  if (!m_channels[channel]) {
    m_channels[channel] = std::make_unique<ChannelDecoder>(
        channel, m_board,
        [this](int ch, int error) { Raise(DecoderEvent::DecodeFailed(ch, error)); });
    m_channelPtr[channel].store(m_channels[channel].get(), std::memory_order_release);
    // Said once: the decoder is kept, so the channel is not tried again on every frame.
    if (!m_channels[channel]->Running()) {
      std::fprintf(stderr,
                   "CQL_Ctrl_Player: channel %d is unavailable: its decoder cannot start (%s)\n",
                   channel + 1, m_channels[channel]->StartError().c_str());
      m_board.SetUnavailable(channel);
    }
  }
  return *m_channels[channel];
}

int32_t DecoderControl::ViewChannel(int32_t channel) const {
  if (channel == -1 && m_view) return m_view->SelectedPane();
  return channel >= 0 && channel < kChannels ? channel : -1;
}

int32_t DecoderControl::ZoomPane(int32_t channel, int32_t steps) {
  const int32_t ch = ViewChannel(channel);
  if (ch < 0 || !m_view) return -1;
  m_view->ZoomChannel(ch, steps);
  return ch;
}

int32_t DecoderControl::SetPicture(int32_t channel, const PaneViewCall& v) {
  const int32_t ch = ViewChannel(channel);
  if (ch < 0 || !m_view) return -1;
  const Deinterlace mode = v.deinterlace == 1   ? Deinterlace::On
                           : v.deinterlace == 2 ? Deinterlace::Auto
                                                : Deinterlace::Off;
  m_view->SetPicture(ch, {v.brightness, v.contrast, v.gamma, v.saturation}, mode);
  return ch;
}

int32_t DecoderControl::GetPicture(int32_t channel, PaneViewCall& v) {
  const int32_t ch = ViewChannel(channel);
  if (ch < 0) return -1;
  const PictureSettings s = m_board.Settings(ch);
  zoom::ToWire(s.region, v.x, v.y, v.size);
  v.brightness = s.adjust.brightness;
  v.contrast = s.adjust.contrast;
  v.gamma = s.adjust.gamma;
  v.saturation = s.adjust.saturation;
  v.deinterlace = static_cast<int32_t>(s.deinterlace);
  return ch;
}

void DecoderControl::ClearAll(bool blank) {
  // A new file: its pictures start whole (the view thread owns the zoom, and any drag).
  if (blank)
    OnViewThread([this] {
      if (m_view) m_view->ResetAllZoom();
    });
  {
    std::lock_guard lock(m_channelsMutex);
    for (auto& c : m_channels)
      if (c) c->Flush(blank);
  }
  m_sound.Discard();
  m_sound.Release();
}

ChannelDecoder::Stats DecoderControl::Stats(int channel) const {
  std::lock_guard lock(m_channelsMutex);
  ChannelDecoder::Stats sum;
  for (int ch = 0; ch < kChannels; ++ch) {
    if (!m_channels[ch] || (channel >= 0 && ch != channel)) continue;
    const ChannelDecoder::Stats s = m_channels[ch]->GetStats();
    sum.submitted += s.submitted;
    sum.decoded += s.decoded;
    sum.presented += s.presented;
    sum.errors += s.errors;
    sum.queueDropped += s.queueDropped;
    sum.keyWaitDropped += s.keyWaitDropped;
    sum.queueMax = std::max(sum.queueMax, s.queueMax);
  }
  return sum;
}

size_t DecoderControl::QueuedFrames(int channel) const {
  std::lock_guard lock(m_channelsMutex);
  size_t n = 0;
  for (int ch = 0; ch < kChannels; ++ch)
    if (m_channels[ch] && (channel < 0 || ch == channel)) n += m_channels[ch]->QueueSize();
  return n;
}

void DecoderControl::Raise(const DecoderEvent& event) {
  if (!m_events || !m_view) return;
  IDecoderEvents* events = m_events;
  QMetaObject::invokeMethod(
      m_view, [events, event] { event.SendTo(*events); }, Qt::QueuedConnection);
}

}  // namespace ov
