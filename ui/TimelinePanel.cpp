#include "ui/TimelinePanel.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTimer>

#include "activity/Activity.h"
#include "archive/RecordingSet.h"
#include "controls/SkinButton.h"
#include "ui/ActivityTimeline.h"
#include "ui/CommandIds.h"
#include "ui/FileCommands.h"
#include "ui/FullScreenMode.h"
#include "ui/PaneArea.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"
#include "ui/PreviewWorker.h"
#include "ui/SkinPainter.h"
#include "ui/StatusTexts.h"
#include "ui/TransportBar.h"

namespace ov {

namespace {
// Often enough for the playhead and for strips filling in to look live; a poll costs an atomic
// load.
constexpr int kPollMs = 200;
}  // namespace

TimelinePanel::TimelinePanel(CPlayerDlg& window) : m_window(window) {}

TimelinePanel::~TimelinePanel() { Stop(); }

void TimelinePanel::Create() {
  m_timeline = new CActivityTimeline(&m_window);
  m_timeline->hide();
  QObject::connect(m_timeline, &CActivityTimeline::seekRequested, &m_window,
                   [this](int32_t second) {
                     PlaybackEngine& e = m_window.Engine().Engine();
                     if (e.State().m_FileReady.load()) (void)e.MoveTo(second);
                   });
  QObject::connect(m_timeline, &CActivityTimeline::previewWanted, &m_window,
                   [this](int slot, int32_t second) { OnPreviewWanted(slot, second); });
  m_timer = new QTimer(&m_window);
  m_timer->setInterval(kPollMs);
  QObject::connect(m_timer, &QTimer::timeout, &m_window, [this] { Poll(); });
}

void TimelinePanel::Start() {
  Stop();
  PlaybackEngine& e = m_window.Engine().Engine();
  if (!e.State().m_FileReady.load()) return;
  const BackupFile& file = e.File();
  const OpenRecording& rec = file.Recording();
  m_panes = PaneCountForChannels(rec.m_Header.channelCount);
  ActivityJob::Options options;
  options.filePath = e.FilePath();
  options.cacheDir = m_cacheDir ? *m_cacheDir : DefaultActivityCacheDir();
  // The cache knows files by their path; a set is named after its first file, whose own results
  // it must neither take nor overwrite.
  if (m_window.Files().Set()) options.cacheDir.clear();
  m_activity = std::make_unique<ActivityJob>(file.SharedRecording(), file.ScanReader(), options);
  m_activity->Start();
  const uint64_t generation = ++m_generation;
  m_previews = std::make_unique<PreviewWorker>(
      file.SharedRecording(), file.ScanReader(), e.StartSecond(),
      [this, generation](int slot, int32_t second, PreviewWorker::Picture picture) {
        // Worker thread: the picture becomes a QImage here, the window takes it on its thread.
        QImage image;
        int32_t at = 0;
        if (picture) {
          image = QImage(picture->rgb.data(), picture->width, picture->height, picture->width * 3,
                         QImage::Format_RGB888)
                      .copy();
          at = picture->second;
        }
        QMetaObject::invokeMethod(
            &m_window,
            [this, generation, slot, second, image, at] {
              if (generation == m_generation && m_timeline)
                m_timeline->SetPreview(slot, second, image, at);
            },
            Qt::QueuedConnection);
      });
  m_revision = UINT64_MAX;
  m_timeline->SetRecording(rec.m_Index.m_TotalSeconds + 1, e.StartSecond());
  std::vector<std::pair<int32_t, int32_t>> gaps;
  for (const KeyGap& g : rec.m_Gaps)
    gaps.emplace_back(int32_t(g.fromKey - uint32_t(rec.m_Index.m_StartMsec)) / 1000 + 1,
                      int32_t(g.toKey - uint32_t(rec.m_Index.m_StartMsec)) / 1000);
  m_timeline->SetGaps(std::move(gaps));
  m_timeline->SetSnapshot(nullptr);
  m_timer->start();
  Poll();
}

void TimelinePanel::Stop() {
  ++m_generation;
  // The preview worker first: it reads the file the job's reader shares.
  m_previews.reset();
  if (m_activity) m_activity->Cancel();
  m_activity.reset();
  if (m_timer) m_timer->stop();
  if (m_timeline) {
    m_timeline->SetSnapshot(nullptr);
    m_timeline->SetRecording(0, 0);
    m_timeline->SetChannels({}, -1);
  }
}

std::vector<int32_t> TimelinePanel::ShownSlots() {
  std::vector<int32_t> shown;
  const OpenRecording& rec = m_window.Engine().Engine().File().Recording();
  for (int n = 0; n < m_panes && n < kSlots; ++n)
    if (rec.m_HasVideo[size_t(n)]) shown.push_back(n);
  return shown;
}

void TimelinePanel::Poll() {
  if (!m_activity || !m_timeline || m_window.Destroyed()) return;
  const PlaybackState& st = m_window.Engine().State();
  m_activity->SetPlaying(st.m_PlayState.load() != TransportState::Paused);
  if (const uint64_t r = m_activity->Revision(); r != m_revision) {
    m_revision = r;
    m_snapshot = std::make_shared<const ActivitySnapshot>(m_activity->Snapshot());
    m_timeline->SetSnapshot(m_snapshot);
  }
  // A finished analysis behind a hidden timeline needs no polling: the player stays idle.
  const bool running = !m_snapshot || !m_snapshot->complete;
  if (!running && !m_timeline->isVisible())
    m_timer->stop();
  else if (!m_timer->isActive())
    m_timer->start();
  // Only what is on screen asks the decoder control which pane is selected.
  if (!m_timeline->isVisible()) return;
  m_timeline->SetChannels(ShownSlots(), m_window.Panes().SelectedSlot());
  m_timeline->SetPlayhead(st.m_SliderSecond.load());
  m_timeline->SetTimeFormat(m_window.TimeFormat());
}

void TimelinePanel::OnPreviewWanted(int slot, int32_t second) {
  if (slot < 0 || !m_previews || !m_timeline) return;
  if (std::optional<PreviewWorker::Picture> known = m_previews->Cached(slot, second)) {
    const PreviewWorker::Picture& p = *known;
    QImage image;
    // A copy: the cache may let the picture go while the preview still shows it.
    if (p)
      image =
          QImage(p->rgb.data(), p->width, p->height, p->width * 3, QImage::Format_RGB888).copy();
    m_timeline->SetPreview(slot, second, image, p ? p->second : 0);
    return;
  }
  m_previews->Request(slot, second);
}

void TimelinePanel::JumpToEvent(int direction, bool anyChannel) {
  PlaybackEngine& e = m_window.Engine().Engine();
  if (!e.State().m_FileReady.load() || !m_activity) return;
  if (!m_snapshot || m_revision != m_activity->Revision()) Poll();
  if (!m_snapshot) return;
  const int32_t selected = m_window.Panes().SelectedSlot();
  std::vector<int32_t> only;
  if (!anyChannel) only.push_back(selected);
  const int32_t now = e.State().m_SliderSecond.load();
  if (const std::optional<int32_t> to = EventJump(*m_snapshot, only, now, direction)) {
    (void)e.MoveTo(*to);
    m_timeline->SetPlayhead(*to);
    return;
  }
  // Whole sentences, so that each language can word them.
  const char* text =
      direction > 0
          ? (anyChannel ? QT_TRANSLATE_NOOP("PlayerDlg", "No later event on any channel")
                        : QT_TRANSLATE_NOOP("PlayerDlg", "No later event on CH %1"))
          : (anyChannel ? QT_TRANSLATE_NOOP("PlayerDlg", "No earlier event on any channel")
                        : QT_TRANSLATE_NOOP("PlayerDlg", "No earlier event on CH %1"));
  QString note = QCoreApplication::translate("PlayerDlg", text);
  if (!anyChannel) note = note.arg(selected + 1);
  if (!m_snapshot->complete)
    note += QCoreApplication::translate("PlayerDlg", " yet (the analysis is at %1 %)")
                .arg(int(m_snapshot->progress * 100));
  m_window.Texts().ShowNote(note);
}

void TimelinePanel::SetShown(bool on) {
  if (m_window.Destroyed() || !m_timeline) return;
  m_shown = on;
  if (m_window.IsVideoFullScreen())
    m_window.FullScreen().Layout();
  else
    Place();
  if (on) Poll();
}

void TimelinePanel::Place() {
  if (m_window.IsVideoFullScreen()) return;
  PlaceBand(m_shown ? CActivityTimeline::kBandHeight : 0);
}

void TimelinePanel::PlaceBand(int band) {
  QLineEdit* path = m_window.Texts().PathBox();
  QWidget* video = m_window.Panes().Widget();
  if (!m_timeline || !path || !video) return;
  // Under the seek slider's row, as wide as the bar; the path row moves down below it.
  const WinRect v = WinRect::FromQRect(video->geometry());
  const int l = v.left - 5, r = v.right + 5, t = SkinBarTop(v);
  if (band > 0) m_timeline->setGeometry(l + 1, t + 72, r - l - 2, band - 1);
  m_timeline->setVisible(band > 0);
  path->setGeometry(25, 724 + band, 628, 15);
  if (CSkinButton* open = m_window.Bar().Button(idc::kFileOpen)) open->move(659, 721 + band);
  m_window.setFixedSize(CPlayerDlg::kWidth, CPlayerDlg::kHeight + band);
  m_window.CentreOnScreen();
  m_window.update();
}

int TimelinePanel::Band() const {
  return m_shown && !m_window.IsVideoFullScreen() ? CActivityTimeline::kBandHeight : 0;
}

}  // namespace ov
