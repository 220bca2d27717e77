// libFuzzer target: one channel decoder of the decoder control fed fuzzed payloads. Input: frames
// separated by the bytes "--FRAME--"; the first byte of each is 1 for a key frame. The coding
// (H.264 or MPEG-4) follows from each key frame's start code, as in playback.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <thread>

#include "decoder/control/ChannelDecoder.h"
#include "decoder/control/PictureBoard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ov::PictureBoard board;
  board.SetTargetSize(0, QSize(176, 144));
  {
    ov::ChannelDecoder decoder(0, board);
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    constexpr std::string_view kSep = "--FRAME--";
    size_t from = 0;
    for (int frames = 0; frames < 64 && from < in.size(); ++frames) {
      const size_t at = in.find(kSep, from);
      const std::string_view f = in.substr(from, at == in.npos ? in.npos : at - from);
      if (f.size() > 1)
        decoder.Submit(reinterpret_cast<const uint8_t*>(f.data()) + 1, f.size() - 1, f[0] == 1, 0,
                       frames * 40);
      if (at == in.npos) break;
      from = at + kSep.size();
    }
    // Let the decoder work through its queue before it is stopped.
    for (int i = 0; i < 2000 && decoder.QueueSize() > 0; ++i)
      std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return 0;
}
