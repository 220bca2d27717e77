#pragma once
// Runs the engine headless on a virtual clock with a recording decoder and view: the harness of
// the trace command and of the engine's tests. Every run of the same script over the same file
// records the same events, and runs as fast as the machine allows.
//
// Threads: all members on one (the driver's) thread; the engine's workers run underneath.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/BackupFile.h"
#include "playback/PlaybackEngine.h"
#include "playback/trace/EventLog.h"
#include "playback/trace/RecordingDecoder.h"
#include "playback/trace/RecordingView.h"
#include "playback/trace/VirtualClock.h"

namespace ov {

struct RecordingSetPlan;

class TraceDriver {
 public:
  TraceDriver();
  ~TraceDriver();

  OpenOutcome Open(const std::string& path);
  OpenOutcome OpenSources(std::unique_ptr<IFileSource> file, std::unique_ptr<IFileSource> scan);
  // A set of files as one recording, shown under shownPath.
  OpenOutcome OpenSet(const RecordingSetPlan& plan, const std::string& shownPath);

  // Runs one window-thread command: workers are held while it runs, then a search it started
  // runs to its end, then the workers go on. Virtual time does not move.
  void Do(const std::function<void(PlaybackEngine&)>& command);
  // Lets virtual time move on by ms.
  void Wait(int64_t ms);
  // Runs until the recording ends (or playback stops); false when it had not ended within the
  // bound.
  bool RunToEnd(int64_t boundMs = int64_t(100) * 3600 * 1000);
  // Runs a script of commands separated by ';' (play, rew, ff, r, f, seek S, volume V, mute,
  // layout N, iframe, format N, wait MS, end). False with a message for a bad command.
  bool RunScript(const std::string& script, std::string& error);

  int64_t NowMs() const;
  PlaybackEngine& Engine() { return *m_engine; }
  VirtualClock& Clock() { return m_clock; }
  RecordingDecoder& Decoder() { return m_decoder; }
  EventLog& Log() { return m_log; }
  const EventLog& Log() const { return m_log; }
  const PlaybackEngine& Engine() const { return *m_engine; }
  BackupFile& File() { return m_file; }

 private:
  bool RunCommand(const std::string& command, std::string& error);

  VirtualClock m_clock;
  EventLog m_log{m_clock};
  RecordingDecoder m_decoder{m_log};
  RecordingView m_view{m_log};
  CQuelmar_Ctrl_Player m_wrapper{&m_decoder};
  BackupFile m_file;
  std::unique_ptr<PlaybackEngine> m_engine;
};

}  // namespace ov
