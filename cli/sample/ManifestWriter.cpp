#include "cli/sample/ManifestWriter.h"

#include <stdexcept>

namespace ov::sample {

ManifestWriter::ManifestWriter(const std::string& path) {
  if (path.empty()) return;
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) throw std::runtime_error("cannot create manifest " + path);
  std::fputs("{\"frames\":[", file_);
}

ManifestWriter::~ManifestWriter() {
  if (file_) std::fclose(file_);
}

void ManifestWriter::Frame(uint64_t offset, int channel, bool audio, const YskFrameHeader& h,
                           std::optional<uint32_t> stamp) {
  if (!file_) return;
  nlohmann::json j{{"offset", offset},   {"channel", channel}, {"audio", audio},
                   {"f_time", h.f_time}, {"f_msec", h.f_msec}, {"f_size", h.f_size},
                   {"f_info", h.f_info}, {"f_type", h.f_type}};
  if (stamp) j["frame"] = *stamp;
  std::fputs(first_ ? "\n" : ",\n", file_);
  first_ = false;
  std::fputs(j.dump().c_str(), file_);
}

void ManifestWriter::Finish(const nlohmann::json& summary) {
  if (!file_) return;
  std::fputs("\n]", file_);
  for (const auto& [key, value] : summary.items()) {
    std::fputs(",\n", file_);
    std::fputs(nlohmann::json(key).dump().c_str(), file_);
    std::fputc(':', file_);
    std::fputs(value.dump().c_str(), file_);
  }
  std::fputs("\n}\n", file_);
  const bool failed = std::ferror(file_) != 0;
  const bool closeFailed = std::fclose(file_) != 0;
  file_ = nullptr;
  if (failed || closeFailed) throw std::runtime_error("cannot write manifest");
}

}  // namespace ov::sample
