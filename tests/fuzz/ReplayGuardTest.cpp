// A corpus replay whose target reaches a signed overflow in a library must fail, not pass with a
// printed report.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

TEST(ReplayGuard, AnOverflowInALibraryFailsTheReplay) {
  FILE* p = ::popen(OV_PLANTED_REPLAY " 2>&1", "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  std::array<char, 4096> buf{};
  while (size_t n = std::fread(buf.data(), 1, buf.size(), p)) out.append(buf.data(), n);
  const int status = ::pclose(p);
  EXPECT_NE(out.find("runtime error: signed integer overflow"), std::string::npos) << out;
  EXPECT_NE(out.find("PlantedOverflow.cpp"), std::string::npos) << out;
  EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the replay passed:\n" << out;
}

}  // namespace
