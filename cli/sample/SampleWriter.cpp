#include "cli/sample/SampleWriter.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "cli/sample/ManifestWriter.h"
#include "cli/sample/SampleAudio.h"

namespace ov::sample {
namespace {

constexpr int64_t kMaxDurationMs = 25LL * 3600 * 1000;  // the player refuses 26 hours and more
constexpr uint64_t kMaxFileSize = 0xFFFFFFFFull;        // offsets in the file are 32-bit

[[noreturn]] void Invalid(const std::string& what) { throw std::invalid_argument(what); }

std::vector<int> CheckSlots(std::vector<int> slots, const char* what) {
  std::sort(slots.begin(), slots.end());
  if (std::adjacent_find(slots.begin(), slots.end()) != slots.end())
    Invalid(std::string(what) + " slots repeat");
  for (int s : slots)
    if (s < 0 || s >= kSlots) Invalid(std::string(what) + " slot out of range 0..15");
  return slots;
}

// The data file, written front to back with a running position.
class DataFile {
 public:
  explicit DataFile(const std::string& path) : path_(path) {
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) throw std::runtime_error("cannot create " + path);
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
  }
  ~DataFile() {
    if (file_) std::fclose(file_);
  }
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  uint64_t pos() const { return pos_; }
  void Write(const uint8_t* data, size_t n) {
    if (pos_ + n > kMaxFileSize) throw std::runtime_error("sample would reach 4 GiB");
    if (n && std::fwrite(data, 1, n, file_) != n) throw std::runtime_error("cannot write " + path_);
    pos_ += n;
  }
  void WriteZeros(size_t n) {
    const std::vector<uint8_t> zeros(n, 0);
    Write(zeros.data(), n);
  }
  void WriteFrame(const YskFrameHeader& h, const uint8_t* payload) {
    std::array<uint8_t, kYskFrameHeaderSize> bytes{};
    EncodeFrameHeader(h, bytes);
    Write(bytes.data(), bytes.size());
    Write(payload, h.f_size);
  }
  void WriteAt(uint64_t at, const uint8_t* data, size_t n) {
    if (fseeko(file_, off_t(at), SEEK_SET) != 0 || std::fwrite(data, 1, n, file_) != n)
      throw std::runtime_error("cannot write " + path_);
    if (fseeko(file_, off_t(pos_), SEEK_SET) != 0) throw std::runtime_error("cannot seek " + path_);
  }
  void Close() {
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!ok) throw std::runtime_error("cannot write " + path_);
  }

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  uint64_t pos_ = 0;
};

struct Run {
  int slot = 0;
  bool audio = false;
  uint64_t begin = 0;  // absolute
  uint64_t end = 0;
  uint64_t frames = 0;
};

uint64_t VideoFrameCount(const SampleOptions& o) {
  return uint64_t(o.durationMs * o.video.fps / 1000);
}
uint64_t AudioFrameCount(const SampleOptions& o) { return uint64_t(o.durationMs / kAudioFrameMs); }

// Bytes of one stored group of pictures: headers and payloads.
uint64_t GopBytes(const std::vector<EncodedFrame>& gop) {
  uint64_t n = 0;
  for (const auto& f : gop) n += kYskFrameHeaderSize + f.payload.size();
  return n;
}

// Writes one video run; frames come from a fresh encoder or, in long mode, from the slot's
// encoded group of pictures repeated.
class RunWriter {
 public:
  RunWriter(const SampleOptions& o, DataFile& file, ManifestWriter& manifest)
      : o_(o), file_(file), manifest_(manifest) {}

  void VideoFrame(Run& run, uint64_t k, const EncodedFrame& f) {
    if (f.payload.size() > kMaxFileSize) throw std::runtime_error("frame too large");
    if (f.key && !IsKeyFrameStartCode(uint8_t(o_.video.coding), f.payload))
      throw std::runtime_error("encoder produced a key frame without its start code");
    YskFrameHeader h = SampleVideoTimes(o_, run.slot, k);
    h.f_size = uint32_t(f.payload.size());
    h.f_info = prev_;
    h.f_type = f.key ? 1 : 0;
    manifest_.Frame(file_.pos(), run.slot, false, h, f.frameNumber);
    file_.WriteFrame(h, f.payload.data());
    prev_ = h.f_size;
    largest_ = std::max(largest_, h.f_size);
    ++run.frames;
  }

  void AudioFrame(Run& run, uint64_t j) {
    std::array<uint8_t, kAudioFrameBytes> payload{};
    MakeAudioPayload(run.slot, j * kAudioFrameBytes, payload);
    YskFrameHeader h = SampleAudioTimes(o_, run.slot, j);
    h.f_size = kAudioFrameBytes;
    h.f_info = prev_;
    h.f_type = 0;
    manifest_.Frame(file_.pos(), run.slot, true, h, std::nullopt);
    file_.WriteFrame(h, payload.data());
    prev_ = h.f_size;
    ++run.frames;
  }

  void StartRun() { prev_ = 0; }
  // A frame of the recording that belongs to another part: the next frame still names its size.
  void Pass(uint32_t size) { prev_ = size; }
  uint32_t largest() const { return largest_; }

 private:
  const SampleOptions& o_;
  DataFile& file_;
  ManifestWriter& manifest_;
  uint32_t prev_ = 0;
  uint32_t largest_ = 0;
};

YskHeader BuildHeader(const SampleOptions& o, const std::vector<Run>& runs, uint64_t dataStart) {
  YskHeader h;
  h.kind = uint8_t(o.kind);
  h.channelCount = uint8_t(o.channelCount);
  h.videoCoding = uint8_t(o.video.coding);
  for (int n = 0; n < kSlots; ++n) {
    h.video[size_t(n)].name = h.audio[size_t(n)].name = o.names[size_t(n)];
    h.video[size_t(n)].channelNo = h.audio[size_t(n)].channelNo = uint8_t(n);
  }
  for (const Run& r : runs) {
    auto& rec = r.audio ? h.audio[size_t(r.slot)] : h.video[size_t(r.slot)];
    rec.startOffset = uint32_t(r.begin - dataStart);
    rec.endOffset = uint32_t(r.end - dataStart);
    (r.audio ? h.audioMask : h.videoMask) |= 1u << r.slot;
  }
  return h;
}

// The crossings of a still scene as the activity analysis should find them: channel counted
// from 1, times in seconds from the first frame, and the seek slider's seconds they fall in.
nlohmann::json Truth(const SampleOptions& o) {
  nlohmann::json list = nlohmann::json::array();
  if (!o.video.still) return list;
  for (const Motion& m : o.video.scene.motions)
    list.push_back({{"channel", m.channel + 1},
                    {"from", m.from},
                    {"to", m.to},
                    {"fromSecond", int(m.from)},
                    {"toSecond", int(m.to - 1e-9)}});
  return list;
}

nlohmann::json Summary(const SampleOptions& o, const std::vector<Run>& runs, uint64_t dataStart,
                       uint64_t headerOffset, uint64_t fileSize, const YskHeader& h) {
  nlohmann::json runList = nlohmann::json::array();
  for (const Run& r : runs)
    runList.push_back({{"channel", r.slot},
                       {"audio", r.audio},
                       {"startOffset", r.begin - dataStart},
                       {"endOffset", r.end - dataStart},
                       {"begin", r.begin},
                       {"end", r.end},
                       {"frames", r.frames}});
  return {{"kind", o.kind},
          {"dataStart", dataStart},
          {"headerOffset", headerOffset},
          {"fileSize", fileSize},
          {"channelCount", o.channelCount},
          {"videoCoding", o.video.coding},
          {"videoMask", h.videoMask},
          {"audioMask", h.audioMask},
          {"names", o.names},
          {"width", o.video.width},
          {"height", o.video.height},
          {"fps", o.video.fps},
          {"gop", o.video.gop},
          {"durationMs", o.durationMs},
          {"startTime", o.startTime},
          {"startMsec", o.startMsec},
          {"offsetMsPerSlot", o.offsetMsPerSlot},
          {"runs", runList}};
}

}  // namespace

SampleOptions ResolveSampleOptions(const SampleOptions& in) {
  SampleOptions o = in;
  if (o.channelCount < 1 || o.channelCount > kSlots) Invalid("channel count must be 1..16");
  if (o.kind < 0 || o.kind > 2) Invalid("kind must be 0, 1 or 2");
  if (o.video.coding != 1 && o.video.coding != 2) Invalid("video coding must be 1 or 2");
  if (o.video.width < 16 || o.video.height < 16 || o.video.width > 4096 || o.video.height > 4096 ||
      o.video.width % 2 || o.video.height % 2)
    Invalid("picture size must be even, 16..4096");
  if (o.video.fps < 1 || o.video.fps > 120) Invalid("frame rate must be 1..120");
  if (o.video.gop < 1 || o.video.gop > 1000) Invalid("key-frame interval must be 1..1000");
  if (o.longTargetBytes == 0 && (o.durationMs < kAudioFrameMs || o.durationMs > kMaxDurationMs))
    Invalid("duration must be 0.2 s .. 25 h");
  if (o.longTargetBytes > kMaxFileSize) Invalid("long target must stay below 4 GiB");
  if (o.partFromMs < 0 || o.partToMs < 0 || (o.partToMs && o.partToMs <= o.partFromMs) ||
      (o.longTargetBytes && (o.partFromMs || o.partToMs)))
    Invalid("bad part of the recording");
  if (o.offsetMsPerSlot < 0 || o.offsetMsPerSlot > 1000) Invalid("offset must be 0..1000 ms");
  if (!o.videoSlots) {
    o.videoSlots.emplace();
    for (int n = 0; n < o.channelCount; ++n) o.videoSlots->push_back(n);
  }
  o.videoSlots = CheckSlots(*o.videoSlots, "video");
  if (!o.audioSlots) o.audioSlots = o.videoSlots;
  o.audioSlots = CheckSlots(*o.audioSlots, "audio");
  if (o.videoSlots->empty() && o.audioSlots->empty()) Invalid("nothing to record");
  if (!o.longTargetBytes && !o.videoSlots->empty() && VideoFrameCount(o) == 0)
    Invalid("duration too short for one video frame");
  if (o.names.size() > size_t(kSlots)) Invalid("more than 16 names");
  for (const auto& name : o.names)
    if (name.size() > kYskNameSize) Invalid("a channel name is longer than 50 bytes");
  for (size_t n = o.names.size(); n < size_t(kSlots); ++n)
    o.names.push_back("Camera " + std::to_string(n + 1));
  return o;
}

YskFrameHeader SampleVideoTimes(const SampleOptions& o, int slot, uint64_t k) {
  const int64_t elapsed = int64_t(k) * 1000 / o.video.fps + int64_t(slot) * o.offsetMsPerSlot;
  YskFrameHeader h;
  h.f_time = int32_t(o.startTime + elapsed / 1000);
  h.f_msec = uint32_t(o.startMsec + elapsed);
  return h;
}

YskFrameHeader SampleAudioTimes(const SampleOptions& o, int slot, uint64_t j) {
  const int64_t elapsed = int64_t(j) * kAudioFrameMs + int64_t(slot) * o.offsetMsPerSlot;
  YskFrameHeader h;
  h.f_time = int32_t(o.startTime + elapsed / 1000);
  h.f_msec = uint32_t(elapsed % 1000);
  return h;
}

void EncodeChannelVideo(const VideoParams& params, int channel, uint32_t firstFrame, uint32_t count,
                        const std::function<void(const EncodedFrame&)>& sink) {
  VideoEncoder encoder(params);
  std::vector<EncodedFrame> done;
  auto hand = [&] {
    for (const auto& f : done) sink(f);
    done.clear();
  };
  for (uint32_t i = 0; i < count; ++i) {
    encoder.Encode(channel, firstFrame + i, done);
    hand();
  }
  encoder.Flush(done);
  hand();
}

namespace {

// Long mode: one encoded group of pictures per slot, and a duration (into o) that fills the
// target size. Empty groups otherwise.
std::vector<std::vector<EncodedFrame>> EncodeLongGops(SampleOptions& o) {
  std::vector<std::vector<EncodedFrame>> gops(kSlots);
  if (!o.longTargetBytes) return gops;
  uint64_t videoBytes = 0;
  for (int slot : *o.videoSlots) {
    EncodeChannelVideo(o.video, slot, 0, uint32_t(o.video.gop),
                       [&](const EncodedFrame& f) { gops[size_t(slot)].push_back(f); });
    videoBytes += GopBytes(gops[size_t(slot)]);
  }
  const int64_t periodMs = int64_t(o.video.gop) * 1000 / o.video.fps;
  const double bytesPerMs =
      double(videoBytes) / double(periodMs) +
      double(o.audioSlots->size()) * (kYskFrameHeaderSize + kAudioFrameBytes) / kAudioFrameMs;
  const uint64_t room =
      o.longTargetBytes > 2 * kDataStartKind12 ? o.longTargetBytes - 2 * kDataStartKind12 : 0;
  int64_t reps = std::max<int64_t>(1, int64_t(double(room) / bytesPerMs) / periodMs);
  reps = std::min<int64_t>(reps, kMaxDurationMs / periodMs);
  o.durationMs = reps * periodMs;
  return gops;
}

// The frames of the part to write: video [fromFrame, toFrame), sound [fromAudio, toAudio).
struct PartCut {
  uint64_t fromFrame = 0, toFrame = 0, fromAudio = 0, toAudio = 0;
};
PartCut CutOf(const SampleOptions& o) {
  PartCut c;
  const uint64_t frames = VideoFrameCount(o), sounds = AudioFrameCount(o);
  const uint64_t gop = uint64_t(o.video.gop);
  auto keyFrameAt = [&](int64_t ms) {
    const uint64_t k = uint64_t(ms) * uint64_t(o.video.fps) / 1000;
    return std::min(frames, (k + gop - 1) / gop * gop);
  };
  // Sound is cut where the video is: at the key frame's time.
  auto soundAt = [&](uint64_t k) {
    return std::min(sounds, (k * 1000 / uint64_t(o.video.fps) + kAudioFrameMs - 1) / kAudioFrameMs);
  };
  c.fromFrame = keyFrameAt(o.partFromMs);
  c.toFrame = o.partToMs > 0 ? keyFrameAt(o.partToMs) : frames;
  c.fromAudio = o.partFromMs > 0 ? soundAt(c.fromFrame) : 0;
  c.toAudio = o.partToMs > 0 && c.toFrame < frames ? soundAt(c.toFrame) : sounds;
  return c;
}

// Every video run, then every audio run, written after the data start.
std::vector<Run> WriteRuns(const SampleOptions& o, DataFile& file, RunWriter& writer,
                           const std::vector<std::vector<EncodedFrame>>& gops,
                           SampleResult& result) {
  std::vector<Run> runs;
  const PartCut cut = CutOf(o);
  const uint64_t videoFrames =
      o.longTargetBytes ? uint64_t(o.durationMs / (int64_t(o.video.gop) * 1000 / o.video.fps)) *
                              uint64_t(o.video.gop)
                        : VideoFrameCount(o);
  for (int slot : *o.videoSlots) {
    Run run{slot, false, file.pos(), 0, 0};
    writer.StartRun();
    if (o.longTargetBytes) {
      const auto& gop = gops[size_t(slot)];
      for (uint64_t k = 0; k < videoFrames; ++k) writer.VideoFrame(run, k, gop[k % gop.size()]);
    } else {
      // Every part encodes from the recording's first frame, so its pictures are the very bytes
      // the whole recording holds.
      uint64_t k = 0;
      EncodeChannelVideo(o.video, slot, 0, uint32_t(cut.toFrame), [&](const EncodedFrame& f) {
        if (k >= cut.fromFrame)
          writer.VideoFrame(run, k, f);
        else
          writer.Pass(uint32_t(f.payload.size()));
        ++k;
      });
    }
    run.end = file.pos();
    result.videoFrames += run.frames;
    runs.push_back(run);
  }
  for (int slot : *o.audioSlots) {
    Run run{slot, true, file.pos(), 0, 0};
    writer.StartRun();
    if (cut.fromAudio > 0) writer.Pass(kAudioFrameBytes);
    for (uint64_t j = cut.fromAudio; j < cut.toAudio; ++j) writer.AudioFrame(run, j);
    run.end = file.pos();
    result.audioFrames += run.frames;
    runs.push_back(run);
  }
  return runs;
}

// The header: at the front, or for kind 2 in the tail after a stale front copy. Returns the
// header and where it was written.
std::pair<YskHeader, uint64_t> WriteHeader(const SampleOptions& o, DataFile& file,
                                           const std::vector<Run>& runs, uint64_t dataStart) {
  YskHeader header = BuildHeader(o, runs, dataStart);
  std::array<uint8_t, kYskHeaderSize> bytes{};
  uint64_t headerOffset = 0;
  if (o.kind == 2) {
    // The copy at the front is stale: only its kind byte counts. The real header is the tail.
    YskHeader stale;
    stale.kind = 2;
    stale.channelCount = 1;
    EncodeHeader(stale, bytes);
    file.WriteAt(0, bytes.data(), bytes.size());
    headerOffset = file.pos();
    EncodeHeader(header, bytes);
    std::vector<uint8_t> tail(kYskTailSize, 0);
    std::copy(bytes.begin(), bytes.end(), tail.begin());
    file.Write(tail.data(), tail.size());
  } else {
    EncodeHeader(header, bytes);
    file.WriteAt(0, bytes.data(), bytes.size());
  }
  return {header, headerOffset};
}

SampleResult WriteSampleFiles(const SampleOptions& options, const std::string& path,
                              const std::string& manifestPath) {
  SampleOptions o = ResolveSampleOptions(options);
  const uint64_t dataStart = o.kind == 0 ? kDataStartKind0 : kDataStartKind12;
  const auto gops = EncodeLongGops(o);

  DataFile file(path);
  ManifestWriter manifest(manifestPath);
  RunWriter writer(o, file, manifest);
  file.WriteZeros(size_t(dataStart));
  SampleResult result;
  const std::vector<Run> runs = WriteRuns(o, file, writer, gops, result);
  const auto [header, headerOffset] = WriteHeader(o, file, runs, dataStart);
  result.fileSize = file.pos();
  result.durationMs = o.durationMs;
  result.largestPayload = std::max(writer.largest(), kAudioFrameBytes);
  file.Close();
  nlohmann::json summary = Summary(o, runs, dataStart, headerOffset, result.fileSize, header);
  if (o.video.still) summary["events"] = Truth(o);
  manifest.Finish(summary);
  return result;
}

}  // namespace

SampleResult WriteSample(const SampleOptions& options, const std::string& path,
                         const std::string& manifestPath) {
  ResolveSampleOptions(options);  // bad options leave existing files alone
  try {
    return WriteSampleFiles(options, path, manifestPath);
  } catch (...) {
    // A half-written sample would only mislead the test that plays it.
    std::remove(path.c_str());
    if (!manifestPath.empty()) std::remove(manifestPath.c_str());
    throw;
  }
}

}  // namespace ov::sample
