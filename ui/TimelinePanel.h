#pragma once
// The activity timeline in the player window: the analysis of the open file (started when it
// opens, told when playback runs, cancelled when it closes), the strips under the seek slider (in
// a band the window grows by, or along the bottom of the screen in full screen), the previews and
// the event jumps.
//
// Threads: the window thread; the previews come from their worker through the event loop.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QTimer;

namespace ov {

class CPlayerDlg;
class CActivityTimeline;
class ActivityJob;
struct ActivitySnapshot;
class PreviewWorker;

class TimelinePanel {
 public:
  explicit TimelinePanel(CPlayerDlg& window);
  ~TimelinePanel();

  void Create();
  // The analysis of whatever is open now; the one before ends.
  void Start();
  void Stop();
  // The strips and the playhead brought up to date; also called when the panes change.
  void Poll();
  void SetShown(bool on);
  bool Shown() const { return m_shown; }
  // Under the seek slider, or nothing (band 0): the path row moves down by the band.
  void PlaceBand(int band);
  void Place();
  // The band the window grows by (0 when hidden or in full screen).
  int Band() const;
  // The next (direction > 0) or previous event of the selected channel, or of any channel.
  void JumpToEvent(int direction, bool anyChannel);
  // The layout the panes were given; the strips follow it.
  void SetPanes(int panes) { m_panes = panes; }

  CActivityTimeline* Widget() const { return m_timeline; }
  const ActivityJob* Activity() const { return m_activity.get(); }
  void SetCacheDir(std::optional<std::string> dir) { m_cacheDir = std::move(dir); }
  // The widget is gone with the window's children.
  void Forget() { m_timeline = nullptr; }

 private:
  std::vector<int32_t> ShownSlots();
  void OnPreviewWanted(int slot, int32_t second);

  CPlayerDlg& m_window;
  CActivityTimeline* m_timeline = nullptr;
  QTimer* m_timer = nullptr;
  bool m_shown = false;
  int m_panes = 16;  // the layout the panes were last given
  std::unique_ptr<ActivityJob> m_activity;
  std::unique_ptr<PreviewWorker> m_previews;
  std::shared_ptr<const ActivitySnapshot> m_snapshot;
  uint64_t m_revision = 0;
  uint64_t m_generation = 0;  // previews of an earlier file are dropped
  std::optional<std::string> m_cacheDir;
};

}  // namespace ov
