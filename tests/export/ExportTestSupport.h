#pragma once
// Made recordings, the command line and ffmpeg's tools for the export tests.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace ov::exporter::test {

struct CommandResult {
  int exitCode = -1;
  std::string out;  // stdout and stderr together
};
// Runs a shell command line.
CommandResult Sh(const std::string& command);
std::string Quote(const std::string& s);
std::string Cli();
// A fresh, empty folder under the test temp folder.
std::string FreshDir(const std::string& name);
// Makes a recording with make-sample (cached per name within one test run); returns its path. The
// manifest lies beside it as <path>.json.
std::string MakeRecording(const std::string& name, const std::string& options);
nlohmann::json Manifest(const std::string& recording);

struct ManifestFrame {
  uint64_t offset = 0;
  int32_t f_time = 0;
  uint32_t f_msec = 0, f_size = 0, f_type = 0;
};
// Video frames of channel slot in file order.
std::vector<ManifestFrame> VideoFrames(const nlohmann::json& manifest, int slot);
// The frames a clip of [from, to) must hold: from the key frame at or before the first frame of
// second from, to the last frame before second to.
std::vector<ManifestFrame> ExpectedClip(const std::vector<ManifestFrame>& video, int32_t from,
                                        int32_t to);
// The payloads of frames, back to back, written to path (an elementary stream).
void WritePayloads(const std::string& recording, const std::vector<ManifestFrame>& frames,
                   const std::string& path);
// The picture hashes of `ffmpeg -f framemd5` (decoded pictures only, time stamps dropped).
std::vector<std::string> PictureHashes(const std::string& input, const std::string& inputOptions);
// ffprobe value of one entry ("stream=codec_name", ...) of the first video or audio stream.
std::string Probe(const std::string& file, const std::string& stream, const std::string& entry);

}  // namespace ov::exporter::test
