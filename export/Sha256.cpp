#include "export/Sha256.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

namespace ov::exporter {

std::optional<std::string> FileSha256(const std::string& path, const std::atomic<bool>* cancel) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  bool ok = ctx && EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) == 1;
  std::vector<unsigned char> buf(1 << 20);
  while (ok) {
    if (cancel && cancel->load(std::memory_order_relaxed)) {
      ok = false;
      break;
    }
    const ssize_t n = ::read(fd, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    ok = EVP_DigestUpdate(ctx.get(), buf.data(), size_t(n)) == 1;
  }
  ::close(fd);
  unsigned char md[EVP_MAX_MD_SIZE];
  unsigned int len = 0;
  if (!ok || EVP_DigestFinal_ex(ctx.get(), md, &len) != 1) return std::nullopt;
  static const char* kHex = "0123456789abcdef";
  std::string hex;
  for (unsigned i = 0; i < len; ++i) {
    hex.push_back(kHex[md[i] >> 4]);
    hex.push_back(kHex[md[i] & 15]);
  }
  return hex;
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
