#include "decoder/control/DecoderControl.h"

#include <QThread>
#include <QWidget>
#include <algorithm>

#include "decoder/control/PaneView.h"
#include "decoder/control/QtSoundSink.h"

namespace ov {
namespace {

// Larger payloads are not video of this recorder; refusing them bounds the copy.
constexpr size_t kMaxPayload = 8u << 20;

int32_t IntArg(std::span<const DispArg> args, size_t i, int32_t fallback = 0) {
  return i < args.size() && args[i].kind == DispArg::Kind::Int ? args[i].i : fallback;
}

const std::string* TextArg(std::span<const DispArg> args, size_t i) {
  return i < args.size() && args[i].kind == DispArg::Kind::Text ? &args[i].text : nullptr;
}

}  // namespace

DecoderControl::DecoderControl(QWidget* parent, IDecoderEvents* events,
                               std::unique_ptr<ISoundSink> sink)
    : m_events(events),
      m_view(new PaneView(m_board, parent)),
      m_sound(sink ? std::move(sink) : QtSoundSink::Create(),
              SoundOutput::FormatFromEnvironment()) {
  m_board.SetSizeListener([this](int channel) {
    if (ChannelDecoder* c = m_channelPtr[channel].load(std::memory_order_acquire)) c->Wake();
  });
  m_board.SetDelaySource([this] { return m_sound.Latency(); });
  m_view->SetSoundLag([this] { return m_sound.LagNowMs(); });
  QObject::connect(m_view, &PaneView::paneSelected, m_view, [this](int pane, int channel) {
    m_sound.SetChannel(channel);
    Raise(4, {pane, channel, 0}, 2);
  });
  QObject::connect(m_view, &PaneView::zoomChanged, m_view, [this](int channel, bool alone) {
    m_sound.SetChannel(channel);
    Raise(6, {channel, alone ? 1 : 0, 0}, 2);
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
  switch (id) {
    case dispid::Deactivate:
      ClearAll(true);
      return 0;
    case dispid::ClearDecoder:
      ClearAll(false);
      return 0;
    case dispid::SetOwnerWindow:
      m_owner.store(IntArg(args, 0));
      return 0;
    case dispid::SetLayout: {
      const int n = IntArg(args, 1, 16);
      OnViewThread([this, n] {
        if (!m_view) return;
        m_view->SetPaneCount(n);
        m_sound.SetChannel(m_view->SelectedPane());  // the selection may have left the grid
      });
      return 0;
    }
    case dispid::SetMode:
      m_mode.store(IntArg(args, 0));
      if (IntArg(args, 1) == 1) m_sound.Hold();
      return 0;
    case dispid::CurrentAudioChannel:
      return m_sound.Channel();
    case dispid::SetVolume:
      m_sound.SetVolume(IntArg(args, 0));
      return 0;
    case dispid::SubmitFrame:
      SubmitFrame(args);
      return 0;
    case dispid::SetPaneTitle: {
      const int pane = IntArg(args, 0, -1);
      const std::string* t = TextArg(args, 1);
      if (pane < 0 || pane >= kChannels || !t) return 0;
      // Channel names are the recorder's 8-bit text: every byte becomes one character.
      QString title = QString::fromLatin1(t->data(), static_cast<qsizetype>(t->size()));
      OnViewThread([this, pane, title] {
        if (m_view) m_view->SetTitle(pane, title);
      });
      return 0;
    }
    case dispid::QueryActive:
      if (!args.empty() && args[0].kind == DispArg::Kind::IntRef && args[0].ref)
        *args[0].ref = m_board.AnyPicture() ? 1 : 0;
      return 0;
    case dispid::SetProductText:
    case dispid::SetVersionText: {
      const std::string* t = TextArg(args, 0);
      if (!t) return 0;
      QString text = QString::fromUtf8(t->data(), static_cast<qsizetype>(t->size()));
      const bool product = id == dispid::SetProductText;
      OnViewThread([this, product, text] {
        if (!m_view) return;
        if (product) {
          m_view->SetProductText(text);
        } else {
          m_view->SetVersionText(text);
        }
      });
      return 0;
    }
    default:
      if (id >= dispid::SetStartOption44 && id <= dispid::SetStartOption48)
        m_startOptions[id - dispid::SetStartOption44].store(IntArg(args, 0));
      return 0;
  }
}

void DecoderControl::SubmitFrame(std::span<const DispArg> args) {
  if (args.size() < 7) return;
  const int channel = IntArg(args, 6, -2);
  if (channel == -1) return ClearAll(true);  // the playback loop's reset call
  if (channel < 0 || channel >= kChannels) return;
  // The payload only ever comes as pointer and size; an integer is never taken for an address.
  if (args[0].kind != DispArg::Kind::Bytes || !args[0].data) return;
  const int32_t declared = IntArg(args, 4);
  if (declared <= 0) return;
  const size_t n = std::min(args[0].size, static_cast<size_t>(declared));
  if (n == 0 || n > kMaxPayload) return;
  const std::span<const uint8_t> payload(args[0].data, n);
  if (IntArg(args, 3) == 1) {
    m_sound.Submit(channel, payload);
    return;
  }
  Channel(channel).Submit(payload.data(), payload.size(), IntArg(args, 5) == 1, IntArg(args, 1),
                          IntArg(args, 2));
}

ChannelDecoder& DecoderControl::Channel(int channel) {
  if (ChannelDecoder* c = m_channelPtr[channel].load(std::memory_order_acquire)) return *c;
  std::lock_guard lock(m_channelsMutex);
  if (!m_channels[channel]) {
    m_channels[channel] =
        std::make_unique<ChannelDecoder>(channel, m_board, [this](int ch, int error) {
          Raise(3, {101, ch, error}, 3);
        });
    m_channelPtr[channel].store(m_channels[channel].get(), std::memory_order_release);
  }
  return *m_channels[channel];
}

void DecoderControl::ClearAll(bool blank) {
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

void DecoderControl::Raise(int32_t dispid, std::array<int32_t, 3> args, int count) {
  if (!m_events || !m_view) return;
  IDecoderEvents* events = m_events;
  QMetaObject::invokeMethod(
      m_view,
      [events, dispid, args, count] {
        events->OnDecoderEvent(dispid,
                               std::span<const int32_t>(args.data(), static_cast<size_t>(count)));
      },
      Qt::QueuedConnection);
}

}  // namespace ov
