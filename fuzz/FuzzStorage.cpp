// libFuzzer target: the storage scan and the channel file builder on a fuzzed recording folder.
// Input: up to three ".yrx" files separated by the bytes "--YRX--"; they are written into a fresh
// folder <tmp>/QL01/20240301 and the folder is scanned and built as make-chv does.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "tools/ChannelFileBuilder.h"
#include "tools/StorageScan.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fs::path root =
      fs::temp_directory_path() / ("ov-fuzz-storage-" + std::to_string(getpid()));
  const fs::path rec = root / "QL01" / "20240301";
  std::error_code ec;
  fs::remove_all(root, ec);
  fs::create_directories(rec);
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  constexpr std::string_view kSep = "--YRX--";
  size_t from = 0;
  for (int k = 1; k <= 3 && from <= in.size(); ++k) {
    const size_t at = in.find(kSep, from);
    const std::string_view part =
        in.substr(from, at == std::string_view::npos ? in.npos : at - from);
    std::ofstream(rec / ("20240301_" + std::to_string(k) + ".yrx"), std::ios::binary)
        .write(part.data(), std::streamsize(part.size()));
    if (at == std::string_view::npos) break;
    from = at + kSep.size();
  }
  const auto entries = ov::tools::StorageEntriesInListOrder(root.string());
  if (entries.size() != 1) __builtin_trap();
  ov::tools::ChannelFileBuilder builder;
  const auto r = builder.Build(rec.string());
  // Every frame counted was written whole.
  for (const auto& c : r.channels)
    if (c.created && !c.writeError && fs::file_size(c.path, ec) != c.fileBytes) __builtin_trap();
  return 0;
}
