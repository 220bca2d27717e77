#pragma once
// Runs the built ostravue-cli with args and returns its standard output (standard error dropped);
// status, when given, receives pclose's status.
#include <cstdio>
#include <string>

namespace ov::test {

inline std::string RunCli(const std::string& args, int* status = nullptr) {
  const std::string cmd = std::string(OV_CLI_PATH) + " " + args + " 2>/dev/null";
  std::string out;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int rc = pclose(p);
    if (status) *status = rc;
  }
  return out;
}

}  // namespace ov::test
