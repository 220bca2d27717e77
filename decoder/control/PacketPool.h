#pragma once
// Reference-counted payload buffers for the decoders, drawn from pools by size class.
//
// A payload handed to libavcodec in a reference-counted buffer is taken by reference; a plain
// pointer makes it allocate and copy the payload once more. Pooling the buffers means that, once
// playback is running, a frame costs one copy of its payload and no large allocation.
#include <array>
#include <cstddef>
#include <cstdint>

struct AVBufferPool;
struct AVBufferRef;

namespace ov {

// One reference to a payload buffer: the payload followed by zeroed padding the decoder may read.
class PacketBuffer {
 public:
  PacketBuffer() = default;
  explicit PacketBuffer(AVBufferRef* ref) : m_ref(ref) {}
  ~PacketBuffer();
  PacketBuffer(PacketBuffer&& o) noexcept : m_ref(o.m_ref) { o.m_ref = nullptr; }
  PacketBuffer& operator=(PacketBuffer&& o) noexcept;
  PacketBuffer(const PacketBuffer&) = delete;
  PacketBuffer& operator=(const PacketBuffer&) = delete;

  explicit operator bool() const { return m_ref != nullptr; }
  const uint8_t* data() const;
  // Hands the reference over (to an AVPacket); the caller unrefs it.
  AVBufferRef* release() {
    AVBufferRef* r = m_ref;
    m_ref = nullptr;
    return r;
  }

 private:
  AVBufferRef* m_ref = nullptr;
};

class PacketPool {
 public:
  PacketPool();
  // Buffers still in use (queued or held by a decoder) stay valid; the pools go with the last.
  ~PacketPool();
  PacketPool(const PacketPool&) = delete;
  PacketPool& operator=(const PacketPool&) = delete;

  // Any thread: a copy of size bytes of data; empty when out of memory.
  PacketBuffer Copy(const uint8_t* data, size_t size);

  // Payloads up to this size come from the pools; larger ones (rare) are allocated each time,
  // so a single huge frame does not keep its memory for the life of the channel.
  static constexpr size_t kMaxPooled = size_t(1) << 20;

 private:
  static constexpr size_t kMinClassBits = 12;                 // 4 KiB
  static constexpr size_t kClasses = 20 - kMinClassBits + 1;  // up to kMaxPooled
  std::array<AVBufferPool*, kClasses> m_pools{};
};

}  // namespace ov
