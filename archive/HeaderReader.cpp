#include "archive/HeaderReader.h"

#include <span>

namespace ov {

HeaderReader::HeaderReader(IFileSource& file, size_t window) : m_file(file), m_buf(window) {}

bool HeaderReader::Read(uint64_t pos, YskFrameHeader& out) {
  constexpr size_t kHdr = kYskFrameHeaderSize;
  if (pos < m_start || pos + kHdr > m_start + m_len) {
    // A step backwards refills so that the window ends at the header, a step forwards so that it
    // starts there: walks in either direction then stay inside one window for many steps.
    const bool backwards = pos < m_start;
    m_start = backwards && pos + kHdr > m_buf.size() ? pos + kHdr - m_buf.size()
              : backwards                            ? 0
                                                     : pos;
    m_len = m_file.ReadAt(m_start, m_buf.data(), m_buf.size());
    if (pos < m_start || pos + kHdr > m_start + m_len) return false;
  }
  out = DecodeFrameHeader(std::span<const uint8_t, kHdr>(m_buf.data() + (pos - m_start), kHdr));
  return true;
}

}  // namespace ov
