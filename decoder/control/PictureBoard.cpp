#include "decoder/control/PictureBoard.h"

namespace ov {
namespace {
bool Valid(int channel) { return channel >= 0 && channel < kChannels; }
}  // namespace

bool PictureBoard::Present(int channel, uint32_t generation, QImage image,
                           std::chrono::steady_clock::time_point submitted) {
  if (!Valid(channel)) return false;
  {
    std::lock_guard lock(m_mutex);
    if (generation != m_generation[channel]) return false;
    Picture& p = m_pictures[channel];
    p.image = std::move(image);
    p.submitted = submitted;
    ++p.serial;
    m_dirty |= 1u << channel;
  }
  Notify();
  return true;
}

void PictureBoard::Blank(int channel, uint32_t generation) {
  if (!Valid(channel)) return;
  {
    std::lock_guard lock(m_mutex);
    m_generation[channel] = generation;
    if (m_pictures[channel].image.isNull()) return;
    m_pictures[channel].image = QImage();
    m_dirty |= 1u << channel;
  }
  Notify();
}

void PictureBoard::Advance(int channel, uint32_t generation) {
  if (!Valid(channel)) return;
  std::lock_guard lock(m_mutex);
  m_generation[channel] = generation;
}

Picture PictureBoard::Get(int channel) const {
  if (!Valid(channel)) return {};
  std::lock_guard lock(m_mutex);
  return m_pictures[channel];
}

uint32_t PictureBoard::TakeDirty() {
  std::lock_guard lock(m_mutex);
  const uint32_t d = m_dirty;
  m_dirty = 0;
  return d;
}

bool PictureBoard::AnyPicture() const {
  std::lock_guard lock(m_mutex);
  for (const Picture& p : m_pictures)
    if (!p.image.isNull()) return true;
  return false;
}

void PictureBoard::SetTargetSize(int channel, QSize size) {
  if (!Valid(channel)) return;
  {
    std::lock_guard lock(m_mutex);
    if (m_target[channel] == size) return;
    m_target[channel] = size;
  }
  std::lock_guard lock(m_listenerMutex);
  if (m_sizeListener) m_sizeListener(channel);
}

QSize PictureBoard::TargetSize(int channel) const {
  if (!Valid(channel)) return {};
  std::lock_guard lock(m_mutex);
  return m_target[channel];
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
