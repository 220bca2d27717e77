#include "decoder/control/PictureBoard.h"

namespace ov {
namespace {
bool Valid(int channel) { return channel >= 0 && channel < kChannels; }
}  // namespace

bool PictureBoard::Present(int channel, uint32_t generation, QImage image,
                           std::chrono::steady_clock::time_point submitted, uint32_t tag) {
  if (!Valid(channel)) return false;
  const auto delay = m_delay ? m_delay() : std::chrono::milliseconds(0);
  {
    std::lock_guard lock(m_mutex);
    if (generation != m_generation[channel]) return false;
    auto& held = m_held[channel];
    if (delay.count() > 0 || !held.empty()) {
      // Behind a held picture a later one waits too, so pictures never overtake each other.
      auto due = std::chrono::steady_clock::now() + delay;
      if (!held.empty() && due < held.back().due) due = held.back().due;
      if (held.size() == kMaxHeld) held.pop_front();
      held.push_back({Picture{std::move(image), submitted, 0, tag}, due});
    } else {
      Picture& p = m_pictures[channel];
      p.image = std::move(image);
      p.submitted = submitted;
      p.tag = tag;
      ++p.serial;
      m_dirty |= 1u << channel;
    }
  }
  Notify();
  return true;
}

bool PictureBoard::Redraw(int channel, uint32_t generation, QImage image, uint32_t tag) {
  if (!Valid(channel)) return false;
  {
    std::lock_guard lock(m_mutex);
    Picture& p = m_pictures[channel];
    if (generation == m_generation[channel] && !m_held[channel].empty()) {
      // Still on its way: the newest held picture is the one made again.
      m_held[channel].back().picture.image = std::move(image);
      return true;
    }
    const bool current = generation == m_generation[channel];
    if (!current && (tag == 0 || p.image.isNull() || p.tag != tag)) return false;
    if (p.image.isNull() && !current) return false;
    p.image = std::move(image);
    p.tag = tag;
    m_dirty |= 1u << channel;
  }
  Notify();
  return true;
}

void PictureBoard::SetDelaySource(std::function<std::chrono::milliseconds()> delay) {
  m_delay = std::move(delay);
}

std::optional<std::chrono::steady_clock::time_point> PictureBoard::NextDue() const {
  std::lock_guard lock(m_mutex);
  std::optional<std::chrono::steady_clock::time_point> next;
  for (const auto& held : m_held)
    if (!held.empty() && (!next || held.front().due < *next)) next = held.front().due;
  return next;
}

void PictureBoard::Blank(int channel, uint32_t generation) {
  if (!Valid(channel)) return;
  {
    std::lock_guard lock(m_mutex);
    m_generation[channel] = generation;
    m_held[channel].clear();
    if (m_pictures[channel].image.isNull()) return;
    m_pictures[channel].image = QImage();
    m_dirty |= 1u << channel;
  }
  Notify();
}

void PictureBoard::SetUnavailable(int channel) {
  if (!Valid(channel)) return;
  {
    std::lock_guard lock(m_mutex);
    m_unavailable |= 1u << channel;
    m_dirty |= 1u << channel;
  }
  Notify();
}

bool PictureBoard::Unavailable(int channel) const {
  if (!Valid(channel)) return false;
  std::lock_guard lock(m_mutex);
  return (m_unavailable >> channel & 1u) != 0;
}

void PictureBoard::Advance(int channel, uint32_t generation) {
  if (!Valid(channel)) return;
  std::lock_guard lock(m_mutex);
  m_generation[channel] = generation;
  m_held[channel].clear();
}

uint32_t PictureBoard::ShownTag(int channel) const {
  if (!Valid(channel)) return 0;
  std::lock_guard lock(m_mutex);
  return m_pictures[channel].image.isNull() ? 0 : m_pictures[channel].tag;
}

Picture PictureBoard::Get(int channel) const {
  if (!Valid(channel)) return {};
  std::lock_guard lock(m_mutex);
  return m_pictures[channel];
}

uint32_t PictureBoard::TakeDirty() {
  std::lock_guard lock(m_mutex);
  const auto now = std::chrono::steady_clock::now();
  for (int ch = 0; ch < kChannels; ++ch) {
    auto& held = m_held[ch];
    bool up = false;
    Picture& p = m_pictures[ch];
    while (!held.empty() && held.front().due <= now) {
      const uint64_t serial = p.serial;
      p = std::move(held.front().picture);
      p.serial = serial + 1;
      held.pop_front();
      up = true;
    }
    if (up) m_dirty |= 1u << ch;
  }
  const uint32_t d = m_dirty;
  m_dirty = 0;
  return d;
}

bool PictureBoard::AnyPicture() const {
  std::lock_guard lock(m_mutex);
  for (const Picture& p : m_pictures)
    if (!p.image.isNull()) return true;
  for (const auto& held : m_held)
    if (!held.empty()) return true;
  return false;
}

void PictureBoard::SetTargetSize(int channel, QSize size) {
  if (!Valid(channel)) return;
  {
    std::lock_guard lock(m_mutex);
    if (m_target[channel] == size) return;
    m_target[channel] = size;
    ++m_targetSerial[channel];
  }
  std::lock_guard lock(m_listenerMutex);
  if (m_sizeListener) m_sizeListener(channel);
}

QSize PictureBoard::TargetSize(int channel) const {
  if (!Valid(channel)) return {};
  std::lock_guard lock(m_mutex);
  return m_target[channel];
}

void PictureBoard::SetSettings(int channel, const PictureSettings& settings) {
  if (!Valid(channel)) return;
  {
    std::lock_guard lock(m_mutex);
    if (m_settings[channel] == settings) return;
    m_settings[channel] = settings;
    ++m_targetSerial[channel];
  }
  std::lock_guard lock(m_listenerMutex);
  if (m_sizeListener) m_sizeListener(channel);
}

PictureSettings PictureBoard::Settings(int channel) const {
  if (!Valid(channel)) return {};
  std::lock_guard lock(m_mutex);
  return m_settings[channel];
}

PictureBoard::Target PictureBoard::TargetOf(int channel) const {
  if (!Valid(channel)) return {};
  std::lock_guard lock(m_mutex);
  return {m_target[channel], m_settings[channel], m_targetSerial[channel]};
}

void PictureBoard::SetListener(std::function<void()> listener) {
  std::lock_guard lock(m_listenerMutex);
  m_listener = std::move(listener);
}

void PictureBoard::SetSizeListener(std::function<void(int)> listener) {
  std::lock_guard lock(m_listenerMutex);
  m_sizeListener = std::move(listener);
}

void PictureBoard::Notify() {
  std::lock_guard lock(m_listenerMutex);
  if (m_listener) m_listener();
}

}  // namespace ov
