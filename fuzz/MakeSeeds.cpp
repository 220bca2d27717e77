// Writes the seed corpus: small valid files of each layout and a few damaged ones.
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/archive/YskBuilder.h"

using namespace ov::test;

static void Save(const std::string& dir, const std::string& name, const std::vector<uint8_t>& b) {
  std::ofstream(dir + "/" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 1;
  }
  const std::string dir = argv[1];
  for (uint8_t kind = 0; kind < 3; ++kind) {
    YskBuilder y;
    y.header.kind = kind;
    y.header.channelCount = 2;
    y.AddVideo(0, kT0, 1000, 12, 40, 5);
    y.AddVideo(1, kT0, 1010, 12, 40, 5, 2);
    y.AddAudio(0, kT0, 3);
    Save(dir, "kind" + std::to_string(kind) + ".ysk", y.Build());
  }
  YskBuilder m;
  m.header.channelCount = 1;
  m.header.videoCoding = 1;
  m.AddVideo(0, kT0, 1000, 12, 40, 5, 1);
  Save(dir, "mpeg4.ysk", m.Build());
  YskBuilder d;
  d.header.channelCount = 1;
  auto& r = d.AddVideo(0, kT0, 1000, 12, 40, 5);
  r.frames[3].sizeOverride = 0xFFFFFFF0u;
  r.frames[7].infoOverride = 0x7FFFFFFFu;
  Save(dir, "damaged-sizes.ysk", d.Build());
  YskBuilder n;
  n.header.channelCount = 1;
  n.AddVideo(0, kT0, 3000, 8, 40, 0);
  Save(dir, "no-key-frames.ysk", n.Build());
  return 0;
}
