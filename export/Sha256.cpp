#include "export/Sha256.h"

#include <openssl/evp.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

namespace ov::exporter {
namespace {

constexpr size_t kBlock = 1 << 20;

// Feeds blocks from read(offset, buffer, n) -> bytes (0 at the end, < 0 on failure) into SHA-256;
// stops after `limit` bytes when given.
template <typename Read>
std::optional<std::string> Digest(Read&& read, std::optional<uint64_t> limit,
                                  const std::atomic<bool>* cancel,
                                  const std::function<void(uint64_t)>& onBytes) {
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) != 1) return std::nullopt;
  std::vector<unsigned char> buf(kBlock);
  uint64_t at = 0;
  while (!limit || at < *limit) {
    if (cancel && cancel->load(std::memory_order_relaxed)) return std::nullopt;
    const size_t want = limit ? size_t(std::min<uint64_t>(kBlock, *limit - at)) : kBlock;
    const int64_t n = read(at, buf.data(), want);
    if (n < 0) return std::nullopt;
    if (n == 0) {
      if (limit) return std::nullopt;  // the file ended early
      break;
    }
    if (EVP_DigestUpdate(ctx.get(), buf.data(), size_t(n)) != 1) return std::nullopt;
    at += uint64_t(n);
    if (onBytes) onBytes(uint64_t(n));
  }
  unsigned char md[EVP_MAX_MD_SIZE];
  unsigned int len = 0;
  if (EVP_DigestFinal_ex(ctx.get(), md, &len) != 1) return std::nullopt;
  static const char* kHex = "0123456789abcdef";
  std::string hex;
  for (unsigned i = 0; i < len; ++i) {
    hex.push_back(kHex[md[i] >> 4]);
    hex.push_back(kHex[md[i] & 15]);
  }
  return hex;
}

}  // namespace

std::optional<std::string> SourceSha256(IFileSource& source, uint64_t size,
                                        const std::atomic<bool>* cancel,
                                        const std::function<void(uint64_t)>& onBytes) {
  return Digest(
      [&](uint64_t at, unsigned char* buf, size_t n) { return int64_t(source.ReadAt(at, buf, n)); },
      size, cancel, onBytes);
}

std::optional<std::string> DescriptorSha256(int fd, const std::atomic<bool>* cancel) {
  return Digest(
      [&](uint64_t at, unsigned char* buf, size_t n) -> int64_t {
        for (;;) {
          const ssize_t r = ::pread(fd, buf, n, off_t(at));
          if (r < 0 && errno == EINTR) continue;
          return r;
        }
      },
      std::nullopt, cancel, {});
}

std::string ChecksumLine(const std::string& digest, const std::string& name) {
  std::string escaped;
  bool special = false;
  for (char c : name) {
    if (c == '\\')
      escaped += "\\\\", special = true;
    else if (c == '\n')
      escaped += "\\n", special = true;
    else
      escaped.push_back(c);
  }
  return (special ? "\\" : "") + digest + "  " + escaped + "\n";
}

}  // namespace ov::exporter
