// The small pieces of an export: time arguments, safe names, checksum lines, sound alignment.
#include <gtest/gtest.h>

#include "export/ClipNames.h"
#include "export/ClipPlan.h"
#include "export/Sha256.h"

namespace ov::exporter {
namespace {

TEST(ExportParts, TimeArgumentsAreDateTimesOrSecondsFromTheStart) {
  const int32_t start = 1709294400;  // 2024-03-01 12:00:00
  EXPECT_EQ(ParseTimeArg("2024-03-01 12:01:05", start), start + 65);
  EXPECT_EQ(ParseTimeArg("65", start), start + 65);
  EXPECT_EQ(ParseTimeArg("0", start), start);
  for (const char* bad : {"", "-5", "1.5", "12:00", "2024-03-01 24:00:00", "2024-13-01 00:00:00",
                          "2024-03-01 12:00:00x", "9999999999"})
    EXPECT_FALSE(ParseTimeArg(bad, start)) << bad;
  // The reason comes with a refusal; a date the month does not have is not moved into the next.
  std::string why;
  EXPECT_FALSE(ParseTimeArg("2024-02-30 12:00:00", start, &why));
  EXPECT_EQ(why, "\"2024-02-30 12:00:00\": there is no day 30 in 2024-02: it has 29 days");
  EXPECT_FALSE(ParseTimeArg("soon", start, &why));
  EXPECT_EQ(why, "\"soon\" is neither \"YYYY-MM-DD HH:MM:SS\" nor whole seconds from the start");
  EXPECT_FALSE(ParseTimeArg("99999999999999999999999", start, &why));
  EXPECT_NE(why.find("past the last second"), std::string::npos) << why;
}

TEST(ExportParts, NamesAreSafeOnAnyFileSystem) {
  EXPECT_EQ(SafeFileName("Camera 1", "x"), "Camera 1");
  EXPECT_EQ(SafeFileName("../etc/passwd", "x"), "_._etc_passwd");
  EXPECT_EQ(SafeFileName(".hidden", "x"), "_hidden");
  EXPECT_EQ(SafeFileName("a...b.c", "x"), "a._.b.c");
  EXPECT_EQ(SafeFileName("Gate\nClip: forged", "x"), "Gate_Clip_ forged");
  EXPECT_EQ(SafeFileName("a:b*c?\"<>|\\d", "x"), "a_b_c______d");
  EXPECT_EQ(SafeFileName("Entr\xE9\x65 \x01", "x"), "Entr_e _");
  EXPECT_EQ(SafeFileName("gate.. ", "x"), "gate");
  EXPECT_EQ(SafeFileName(" ..", "Camera 3"), "Camera 3");
  EXPECT_EQ(SafeFileName("", "Camera 3"), "Camera 3");
  EXPECT_EQ(SafeFileName("con", "x"), "_con");
  EXPECT_EQ(SafeFileName("COM1.yard", "x"), "_COM1.yard");
  EXPECT_EQ(SafeFileName("Console", "x"), "Console");
  EXPECT_EQ(SafeFileName(std::string(300, 'a'), "x").size(), 100u);
}

TEST(ExportParts, ChecksumLinesEscapeAsTheCheckerExpects) {
  EXPECT_EQ(ChecksumLine("ab", "clip.mp4"), "ab  clip.mp4\n");
  EXPECT_EQ(ChecksumLine("ab", "a\\b\nc"), "\\ab  a\\\\b\\nc\n");
}

TEST(ExportParts, SoundIsPlacedByWhereTheVideoSecondTurnsOver) {
  auto frame = [](int32_t t, uint32_t ms) {
    FrameRef f;
    f.h.f_time = t;
    f.h.f_msec = ms;
    return f;
  };
  // The second turns over 280 ms after the first frame: that frame lay 720 ms into its second.
  EXPECT_EQ(FirstFramePhaseMs({frame(10, 5000), frame(10, 5240), frame(11, 5280)}), 720);
  EXPECT_EQ(FirstFramePhaseMs({frame(10, 5000), frame(11, 6000)}), 0);
  EXPECT_EQ(FirstFramePhaseMs({frame(10, 5000), frame(10, 5040)}), 0);
  EXPECT_EQ(FirstFramePhaseMs({}), 0);
}

}  // namespace
}  // namespace ov::exporter
