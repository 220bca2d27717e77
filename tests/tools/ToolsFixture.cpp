#include "tests/tools/ToolsFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace ov::tools::test {

std::filesystem::path ScratchDir(const std::string& name) {
  const char* base = std::getenv("OV_TEST_TMP");
  std::filesystem::path dir =
      std::filesystem::path(base && *base ? base : std::filesystem::temp_directory_path().c_str()) /
      "tools" / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

void MakeDirs(const std::filesystem::path& p) { std::filesystem::create_directories(p); }

void Touch(const std::filesystem::path& p) { std::ofstream(p, std::ios::binary) << ""; }

std::vector<uint8_t> Payload(size_t n, int channel, int serial) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(channel * 31 + serial * 7 + i);
  return bytes;
}

std::vector<uint8_t> RecordBytes(const YrxFrame& f) {
  YrxRecordHeader h;
  h.leadIn = 0x11223344;
  h.frameType = f.type;
  h.time = f.time;
  h.channel = f.channel;
  h.channelCount = f.channelCount;
  h.payloadSize = f.sizeField >= 0 ? static_cast<uint32_t>(f.sizeField)
                                   : static_cast<uint32_t>(f.payload.size());
  std::vector<uint8_t> bytes(kYrxHeaderSize);
  EncodeYrxRecordHeader(h, std::span<uint8_t, kYrxHeaderSize>(bytes.data(), kYrxHeaderSize));
  bytes.insert(bytes.end(), f.payload.begin(), f.payload.end());
  return bytes;
}

void WriteBytes(const std::filesystem::path& p, const std::vector<uint8_t>& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void WriteYrx(const std::filesystem::path& p, const std::vector<YrxFrame>& frames) {
  std::vector<uint8_t> all;
  for (const auto& f : frames) {
    const auto r = RecordBytes(f);
    all.insert(all.end(), r.begin(), r.end());
  }
  WriteBytes(p, all);
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<ChvFrame> ReadChv(const std::filesystem::path& p) {
  const std::vector<uint8_t> bytes = ReadBytes(p);
  std::vector<ChvFrame> frames;
  size_t pos = 0;
  while (pos < bytes.size()) {
    if (bytes.size() - pos < kYskFrameHeaderSize) {
      ADD_FAILURE() << p << ": partial header at " << pos;
      break;
    }
    ChvFrame f;
    f.header = DecodeFrameHeader(
        std::span<const uint8_t, kYskFrameHeaderSize>(bytes.data() + pos, kYskFrameHeaderSize));
    pos += kYskFrameHeaderSize;
    if (bytes.size() - pos < f.header.f_size) {
      ADD_FAILURE() << p << ": payload runs past the end at " << pos;
      break;
    }
    f.payload.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                     bytes.begin() + static_cast<std::ptrdiff_t>(pos + f.header.f_size));
    pos += f.header.f_size;
    frames.push_back(std::move(f));
  }
  return frames;
}

}  // namespace ov::tools::test
