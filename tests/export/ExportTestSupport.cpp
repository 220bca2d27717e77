#include "ExportTestSupport.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ov::exporter::test {
namespace fs = std::filesystem;

CommandResult Sh(const std::string& command) {
  CommandResult r;
  std::FILE* p = ::popen((command + " 2>&1").c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf{};
  size_t n = 0;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  const int status = ::pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return r;
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

static fs::path TestRoot() {
  const char* dir = std::getenv("OV_TEST_TMP");
  fs::path p = fs::path(dir ? dir : fs::temp_directory_path().string()) / "export";
  fs::create_directories(p);
  return p;
}

// The exports' digest cache goes to the test folder, not the user's.
std::string Cli() {
  return "env XDG_CACHE_HOME=" + Quote((TestRoot() / "cache").string()) + " " + Quote(OV_CLI_PATH);
}

std::string FreshDir(const std::string& name) {
  const fs::path p = TestRoot() / name;
  fs::remove_all(p);
  fs::create_directories(p);
  return p.string();
}

std::string MakeRecording(const std::string& name, const std::string& options) {
  const fs::path path = TestRoot() / (name + ".ysk");
  const std::string manifest = path.string() + ".json";
  const auto r = Sh(Cli() + " make-sample " + Quote(path.string()) + " --manifest " +
                    Quote(manifest) + " " + options);
  if (r.exitCode != 0) throw std::runtime_error("make-sample failed: " + r.out);
  return path.string();
}

nlohmann::json Manifest(const std::string& recording) {
  std::ifstream in(recording + ".json");
  return nlohmann::json::parse(in);
}

std::vector<ManifestFrame> VideoFrames(const nlohmann::json& manifest, int slot) {
  std::vector<ManifestFrame> out;
  for (const auto& f : manifest["frames"])
    if (!f["audio"].get<bool>() && f["channel"].get<int>() == slot)
      out.push_back({f["offset"].get<uint64_t>(), f["f_time"].get<int32_t>(),
                     f["f_msec"].get<uint32_t>(), f["f_size"].get<uint32_t>(),
                     f["f_type"].get<uint32_t>()});
  return out;
}

std::vector<ManifestFrame> ExpectedClip(const std::vector<ManifestFrame>& video, int32_t from,
                                        int32_t to) {
  size_t first = 0;
  while (first < video.size() && video[first].f_time < from) ++first;
  size_t start = first;
  while (start > 0 && video[start].f_type != 1) --start;
  std::vector<ManifestFrame> out;
  for (size_t i = start; i < video.size() && video[i].f_time < to; ++i) out.push_back(video[i]);
  return out;
}

void WritePayloads(const std::string& recording, const std::vector<ManifestFrame>& frames,
                   const std::string& path) {
  std::ifstream in(recording, std::ios::binary);
  std::ofstream out(path, std::ios::binary);
  std::vector<char> buf;
  for (const auto& f : frames) {
    buf.resize(f.f_size);
    in.seekg(std::streamoff(f.offset + 20));
    in.read(buf.data(), std::streamsize(buf.size()));
    out.write(buf.data(), std::streamsize(buf.size()));
  }
}

std::vector<std::string> PictureHashes(const std::string& input, const std::string& inputOptions) {
  const auto r = Sh("ffmpeg -v error -nostdin " + inputOptions + " -i " + Quote(input) +
                    " -map 0:v -f framemd5 -");
  std::vector<std::string> hashes;
  std::istringstream lines(r.out);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    hashes.push_back(line.substr(line.rfind(',') + 1));
  }
  return hashes;
}

std::string Probe(const std::string& file, const std::string& stream, const std::string& entry) {
  const auto r = Sh("ffprobe -v error -count_frames -select_streams " + stream + " -show_entries " +
                    entry + " -of default=nw=1:nk=1 " + Quote(file));
  std::string v = r.out;
  while (!v.empty() && (v.back() == '\n' || v.back() == ' ')) v.pop_back();
  return v;
}

}  // namespace ov::exporter::test
