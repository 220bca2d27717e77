#include "export/ExportReport.h"

#include <cstdio>
#include <sstream>

#include "export/ClipNames.h"

namespace ov::exporter {

std::string GapText(const Gap& g) {
  char line[512];
  const std::string from = DisplayStamp(g.fromSecond), to = DisplayStamp(g.toSecond);
  const unsigned long long offset = g.offset, bytes = g.bytes;
  const double seconds = double(g.lengthMs) / 1000.0;
  switch (g.cause) {
    case GapCause::NoFrames:
      std::snprintf(line, sizeof line, "%s to %s (%.3f s): no frames recorded", from.c_str(),
                    to.c_str(), seconds);
      break;
    case GapCause::Passed:
      if (g.lengthMs > 0)
        std::snprintf(line, sizeof line, "%s to %s (%.3f s): %llu bytes at offset %llu passed: %s",
                      from.c_str(), to.c_str(), seconds, bytes, offset, WalkSkipText(g.skip));
      else
        std::snprintf(line, sizeof line, "after %s: %llu bytes at offset %llu passed: %s",
                      from.c_str(), bytes, offset, WalkSkipText(g.skip));
      break;
    case GapCause::DamagedHeader:
      if (g.type > 1)
        std::snprintf(line, sizeof line,
                      "%s: a frame header of unknown type %u at offset %llu; the frame is kept as "
                      "a delta frame, as the player shows it",
                      to.c_str(), g.type, offset);
      else
        std::snprintf(line, sizeof line,
                      "%s: a frame header at offset %llu stamped %s; the frame is kept in its "
                      "place, as the player shows it",
                      to.c_str(), offset, DisplayStamp(g.stamped).c_str());
      break;
    case GapCause::SoundSkipped:
      std::snprintf(line, sizeof line,
                    "sound %s to %s: %llu sound frames from offset %llu left out (damaged "
                    "headers, or stamped far outside the clip: a jump of the sound clock)",
                    from.c_str(), to.c_str(), bytes, offset);
      break;
    case GapCause::ClockJump:
      std::snprintf(line, sizeof line,
                    "%s to %s: the millisecond clock jumps by %.3f s at offset %llu; timed by "
                    "the second clock there",
                    from.c_str(), to.c_str(), double(bytes) / 1000.0, offset);
      break;
  }
  return line;
}

std::string ReportText(const SourceReport& s, const std::vector<ClipReport>& clips) {
  std::ostringstream r;
  r << "Export report\n"
    << "Source: " << EscapedText(s.path) << "\n"
    << "Size: " << s.size << " bytes\n"
    << "SHA-256: " << s.sha256 << "\n"
    << "Source check: "
    << (s.changed.empty() ? "unchanged while the export ran; the SHA-256 is of the bytes the "
                            "clips were cut from"
                          : "CHANGED while the export ran: " + EscapedText(s.changed) +
                                "; the clips and the SHA-256 above are of the file as it was "
                                "opened")
    << "\n"
    << "Recorder channels: " << s.channelCount << "\n"
    << "Checksums: " << EscapedText(s.checksumName) << "\n";
  if (!s.setFiles.empty())
    r << "Recording set: " << s.setFiles.size()
      << " files played as one recording; offsets below count through them in this order\n";
  for (const auto& f : s.setFiles)
    r << "  Set file: " << EscapedText(f.path) << "\n    Size: " << f.size
      << " bytes\n    SHA-256: " << f.sha256 << "\n";
  char line[128];
  for (const auto& c : clips) {
    r << "\nClip: " << EscapedText(c.fileName) << "\n"
      << "  Camera: " << EscapedText(c.camera) << " (channel " << c.channel << ")\n"
      << "  First frame: " << DisplayStamp(c.firstSecond) << "\n"
      << "  Last frame: " << DisplayStamp(c.lastSecond) << "\n"
      << "  Video frames: " << c.frames << "\n";
    std::snprintf(line, sizeof line, "  Length: %.3f s\n  Sound: %.3f s\n",
                  double(c.durationMs) / 1000.0, c.soundSeconds);
    r << line << "  Gaps:" << (c.gaps.empty() ? " none" : "") << "\n";
    for (const Gap& g : c.gaps) r << "    " << GapText(g) << "\n";
    r << "  SHA-256: " << c.sha256 << "\n";
  }
  return r.str();
}

}  // namespace ov::exporter
