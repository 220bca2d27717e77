#include "playback/trace/TraceDriver.h"

#include <sstream>

#include "archive/RecordingSet.h"

namespace ov {

TraceDriver::TraceDriver() {
  m_engine = std::make_unique<PlaybackEngine>(m_file, m_view, m_wrapper, m_clock);
}

TraceDriver::~TraceDriver() {
  m_clock.ReleaseWorkers();
  m_engine->Shutdown();
}

OpenOutcome TraceDriver::Open(const std::string& path) {
  OpenOutcome out;
  Do([&](PlaybackEngine& e) { out = e.OpenFile(path); });
  return out;
}

OpenOutcome TraceDriver::OpenSources(std::unique_ptr<IFileSource> file,
                                     std::unique_ptr<IFileSource> scan) {
  OpenOutcome out;
  const uint64_t length = file ? file->Size() : 0;
  Do([&](PlaybackEngine& e) {
    out = e.OpenSources("memory.ysk", length, std::move(file), std::move(scan));
  });
  return out;
}

OpenOutcome TraceDriver::OpenSet(const RecordingSetPlan& plan, const std::string& shownPath) {
  OpenOutcome out;
  Do([&](PlaybackEngine& e) { out = e.OpenSet(plan, shownPath); });
  return out;
}

void TraceDriver::Do(const std::function<void(PlaybackEngine&)>& command) {
  m_clock.WaitQuiet();
  m_clock.HoldWorkers();
  command(*m_engine);
  m_clock.ReleaseSeeks();
  m_engine->WaitForSeek();
  m_clock.ReleaseWorkers();
  m_clock.WaitQuiet();
}

void TraceDriver::Wait(int64_t ms) { m_clock.AdvanceBy(std::chrono::milliseconds(ms)); }

bool TraceDriver::RunToEnd(int64_t boundMs) {
  const auto& st = m_engine->State();
  return m_clock.AdvanceBy(std::chrono::milliseconds(boundMs),
                           [&] { return st.m_PlayState.load() == TransportState::Paused; });
}

int64_t TraceDriver::NowMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(m_clock.Now()).count();
}

bool TraceDriver::RunCommand(const std::string& command, std::string& error) {
  std::istringstream in(command);
  std::string word;
  if (!(in >> word)) return true;  // empty command
  long long arg = 0;
  const bool hasArg = static_cast<bool>(in >> arg);
  std::string rest;
  if (in >> rest) {
    error = "unexpected text after command: " + command;
    return false;
  }
  auto needArg = [&]() {
    if (!hasArg) error = "command needs a number: " + command;
    return hasArg;
  };
  auto noArg = [&]() {
    if (hasArg) error = "command takes no number: " + command;
    return !hasArg;
  };
  const int v = int(arg);
  if (word == "play" && noArg())
    Do([](PlaybackEngine& e) { e.OnPlay(); });
  else if (word == "rew" && noArg())
    Do([](PlaybackEngine& e) { e.OnRew(); });
  else if (word == "ff" && noArg())
    Do([](PlaybackEngine& e) { e.OnFF(); });
  else if (word == "r" && noArg())
    Do([](PlaybackEngine& e) { e.Jump(-PlaybackEngine::kJumpSeconds); });
  else if (word == "f" && noArg())
    Do([](PlaybackEngine& e) { e.Jump(PlaybackEngine::kJumpSeconds); });
  else if (word == "mute" && noArg())
    Do([](PlaybackEngine& e) { e.OnSound(); });
  else if (word == "iframe" && noArg())
    Do([](PlaybackEngine& e) { e.ToggleIFrameOnly(); });
  else if (word == "end" && noArg())
    RunToEnd();
  else if (word == "seek" && needArg())
    Do([v](PlaybackEngine& e) { e.SeekSliderReleased(v); });
  else if (word == "volume" && needArg())
    Do([v](PlaybackEngine& e) { e.SetVolume(v); });
  else if (word == "format" && needArg())
    Do([v](PlaybackEngine& e) { e.SetTimeFormat(v); });
  else if (word == "layout" && needArg()) {
    if (v != 1 && v != 4 && v != 9 && v != 16) {
      error = "layout takes 1, 4, 9 or 16: " + command;
      return false;
    }
    Do([v](PlaybackEngine& e) { e.ShowPanes(v); });
  } else if (word == "wait" && needArg()) {
    if (arg < 0) {
      error = "wait needs a time of 0 ms or more: " + command;
      return false;
    }
    Wait(arg);
  } else {
    if (error.empty()) error = "unknown command: " + command;
    return false;
  }
  return true;
}

bool TraceDriver::RunScript(const std::string& script, std::string& error) {
  std::istringstream in(script);
  std::string command;
  while (std::getline(in, command, ';')) {
    if (!RunCommand(command, error)) return false;
  }
  return true;
}

}  // namespace ov
