#include "decoder/control/PacketPool.h"

#include <algorithm>
#include <bit>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/buffer.h>
}

namespace ov {

PacketBuffer::~PacketBuffer() { av_buffer_unref(&m_ref); }

PacketBuffer& PacketBuffer::operator=(PacketBuffer&& o) noexcept {
  if (this != &o) {
    av_buffer_unref(&m_ref);
    m_ref = o.m_ref;
    o.m_ref = nullptr;
  }
  return *this;
}

const uint8_t* PacketBuffer::data() const { return m_ref ? m_ref->data : nullptr; }

PacketPool::PacketPool() {
  // All classes up front (a pool allocates its buffers only when asked), so Copy needs no lock.
  for (size_t c = 0; c < kClasses; ++c)
    m_pools[c] = av_buffer_pool_init(size_t(1) << (kMinClassBits + c), nullptr);
}

PacketPool::~PacketPool() {
  for (AVBufferPool*& p : m_pools) av_buffer_pool_uninit(&p);
}

PacketBuffer PacketPool::Copy(const uint8_t* data, size_t size) {
  const size_t need = size + AV_INPUT_BUFFER_PADDING_SIZE;
  if (size == 0 || need > size_t(INT32_MAX)) return {};
  AVBufferRef* ref = nullptr;
  const size_t bits = std::max<size_t>(kMinClassBits, std::bit_width(need - 1));
  const size_t cls = bits - kMinClassBits;
  if (cls < kClasses) {
    if (m_pools[cls]) ref = av_buffer_pool_get(m_pools[cls]);
  } else {
    ref = av_buffer_alloc(need);
  }
  if (!ref) return {};
  std::memcpy(ref->data, data, size);
  std::memset(ref->data + size, 0, AV_INPUT_BUFFER_PADDING_SIZE);
  return PacketBuffer(ref);
}

}  // namespace ov
