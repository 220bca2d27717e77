#pragma once
// One clip file through libavformat: the recorder's video payloads copied as they are, and its
// G.711 sound either copied (Matroska) or decoded and encoded to AAC (MP4).
//
// Threads: one muxer belongs to the thread that writes the clip. Errors throw std::runtime_error
// with a message for the user; the caller removes the unfinished file.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "decoder/SoundFormat.h"

namespace ov::exporter {

enum class ContainerFormat { Mp4, Mkv };
using ov::SoundFormat;
using ov::SoundFormatFromEnvironment;
const char* Extension(ContainerFormat f);

struct ClipStreams {
  uint8_t videoCoding = 2;                 // as in the file header: 2 H.264, 0 or 1 MPEG-4 Part 2
  std::span<const uint8_t> firstKeyFrame;  // parameter sets and picture size come from it
  bool withSound = false;
  SoundFormat sound = SoundFormat::MuLaw;
  std::string title, comment, creationTime;
  // The clip's length: the sound track is never filled with silence beyond it.
  int64_t durationMs = 0;
};

class ClipMuxer {
 public:
  // Writes to fd, a new regular file the caller opened for writing and still owns; name is for
  // messages only.
  ClipMuxer(int fd, const std::string& name, ContainerFormat format, const ClipStreams& streams);
  ~ClipMuxer();
  ClipMuxer(const ClipMuxer&) = delete;
  ClipMuxer& operator=(const ClipMuxer&) = delete;

  // Times are milliseconds of the clip, rising.
  void WriteVideo(std::span<const uint8_t> payload, int64_t ptsMs, int64_t durationMs, bool key);
  void WriteSound(std::span<const uint8_t> payload, int64_t ptsMs);
  // Drains the sound encoder and writes the trailer; a failed write throws.
  void Finish();
  // Seconds of sound in the track so far, silence put into gaps included.
  double SoundSeconds() const;

  // Picture size of the first key frame (decoded once to learn it).
  int Width() const;
  int Height() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m;
};

}  // namespace ov::exporter
