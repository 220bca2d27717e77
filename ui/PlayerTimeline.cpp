// The activity timeline in the player window: the analysis of the open file (started when it
// opens, told when playback runs, cancelled when it closes), the strips under the seek slider (in
// a band the window grows by, or along the bottom of the screen in full screen), the previews and
// the event keys.
#include <QCoreApplication>
#include <QLineEdit>
#include <QTimer>

#include "activity/Activity.h"
#include "controls/SkinButton.h"
#include "ui/ActivityTimeline.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"
#include "ui/PreviewWorker.h"
#include "ui/SkinPainter.h"

namespace ov {

namespace {
// Often enough for the playhead and for strips filling in to look live; a poll costs an atomic
// load.
constexpr int kPollMs = 200;
}  // namespace

void CPlayerDlg::CreateTimeline() {
  m_timeline = new CActivityTimeline(this);
  m_timeline->hide();
  connect(m_timeline, &CActivityTimeline::seekRequested, this, [this](int32_t second) {
    PlaybackEngine& e = m_engine->Engine();
    if (e.State().m_FileReady.load()) (void)e.MoveTo(second);
  });
  connect(m_timeline, &CActivityTimeline::previewWanted, this, &CPlayerDlg::OnPreviewWanted);
  m_timelineTimer = new QTimer(this);
  m_timelineTimer->setInterval(kPollMs);
  connect(m_timelineTimer, &QTimer::timeout, this, &CPlayerDlg::PollActivity);
}

void CPlayerDlg::StartActivity() {
  StopActivity();
  PlaybackEngine& e = m_engine->Engine();
  if (!e.State().m_FileReady.load()) return;
  const BackupFile& file = e.File();
  const OpenRecording& rec = file.Recording();
  m_panes = PaneCountForChannels(rec.m_Header.channelCount);
  ActivityJob::Options options;
  options.filePath = e.FilePath();
  options.cacheDir = m_activityCacheDir ? *m_activityCacheDir : DefaultActivityCacheDir();
  // The cache knows files by their path; a set is named after its first file, whose own results
  // it must neither take nor overwrite.
  if (m_set) options.cacheDir.clear();
  m_activity = std::make_unique<ActivityJob>(file.SharedRecording(), file.ScanReader(), options);
  m_activity->Start();
  const uint64_t generation = ++m_activityGeneration;
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
            this,
            [this, generation, slot, second, image, at] {
              if (generation == m_activityGeneration && m_timeline)
                m_timeline->SetPreview(slot, second, image, at);
            },
            Qt::QueuedConnection);
      });
  m_activityRevision = UINT64_MAX;
  m_timeline->SetRecording(rec.m_Index.m_TotalSeconds + 1, e.StartSecond());
  std::vector<std::pair<int32_t, int32_t>> gaps;
  for (const KeyGap& g : rec.m_Gaps)
    gaps.emplace_back(int32_t(g.fromKey - uint32_t(rec.m_Index.m_StartMsec)) / 1000 + 1,
                      int32_t(g.toKey - uint32_t(rec.m_Index.m_StartMsec)) / 1000);
  m_timeline->SetGaps(std::move(gaps));
  m_timeline->SetSnapshot(nullptr);
  m_timelineTimer->start();
  PollActivity();
}

void CPlayerDlg::StopActivity() {
  ++m_activityGeneration;
  // The preview worker first: it reads the file the job's reader shares.
  m_previews.reset();
  if (m_activity) m_activity->Cancel();
  m_activity.reset();
  if (m_timelineTimer) m_timelineTimer->stop();
  if (m_timeline) {
    m_timeline->SetSnapshot(nullptr);
    m_timeline->SetRecording(0, 0);
    m_timeline->SetChannels({}, -1);
  }
}

std::vector<int32_t> CPlayerDlg::ShownSlots() {
  std::vector<int32_t> shown;
  const OpenRecording& rec = m_engine->Engine().File().Recording();
  for (int n = 0; n < m_panes && n < kSlots; ++n)
    if (rec.m_HasVideo[size_t(n)]) shown.push_back(n);
  return shown;
}

void CPlayerDlg::PollActivity() {
  if (!m_activity || !m_timeline || m_destroyed) return;
  const PlaybackState& st = m_engine->State();
  m_activity->SetPlaying(st.m_PlayState.load() != TransportState::Paused);
  if (const uint64_t r = m_activity->Revision(); r != m_activityRevision) {
    m_activityRevision = r;
    m_activitySnapshot = std::make_shared<const ActivitySnapshot>(m_activity->Snapshot());
    m_timeline->SetSnapshot(m_activitySnapshot);
  }
  // A finished analysis behind a hidden timeline needs no polling: the player stays idle.
  const bool running = !m_activitySnapshot || !m_activitySnapshot->complete;
  if (!running && !m_timeline->isVisible())
    m_timelineTimer->stop();
  else if (!m_timelineTimer->isActive())
    m_timelineTimer->start();
  // Only what is on screen asks the decoder control which pane is selected.
  if (!m_timeline->isVisible()) return;
  m_timeline->SetChannels(ShownSlots(), SelectedSlot());
  m_timeline->SetPlayhead(st.m_SliderSecond.load());
  m_timeline->SetTimeFormat(m_TimeFormat);
}

void CPlayerDlg::OnPreviewWanted(int slot, int32_t second) {
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

void CPlayerDlg::JumpToEvent(int direction, bool anyChannel) {
  PlaybackEngine& e = m_engine->Engine();
  if (!e.State().m_FileReady.load() || !m_activity) return;
  if (!m_activitySnapshot || m_activityRevision != m_activity->Revision()) PollActivity();
  if (!m_activitySnapshot) return;
  const int32_t selected = SelectedSlot();
  std::vector<int32_t> only;
  if (!anyChannel) only.push_back(selected);
  const int32_t now = e.State().m_SliderSecond.load();
  if (const std::optional<int32_t> to = EventJump(*m_activitySnapshot, only, now, direction)) {
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
  if (!m_activitySnapshot->complete)
    note += QCoreApplication::translate("PlayerDlg", " yet (the analysis is at %1 %)")
                .arg(int(m_activitySnapshot->progress * 100));
  ShowNote(note);
}

void CPlayerDlg::SetTimelineShown(bool on) {
  if (m_destroyed || !m_timeline) return;
  m_timelineShown = on;
  if (m_full)
    LayoutFullScreen();
  else
    PlaceTimeline();
  if (on) PollActivity();
}

void CPlayerDlg::PlaceTimeline() {
  if (m_full) return;
  PlaceTimelineBand(m_timelineShown ? CActivityTimeline::kBandHeight : 0);
}

void CPlayerDlg::PlaceTimelineBand(int band) {
  if (!m_timeline || !m_edtPath || !m_decoderWidget) return;
  // Under the seek slider's row, as wide as the bar; the path row moves down below it.
  const WinRect v = WinRect::FromQRect(m_decoderWidget->geometry());
  const int l = v.left - 5, r = v.right + 5, t = SkinBarTop(v);
  if (band > 0) m_timeline->setGeometry(l + 1, t + 72, r - l - 2, band - 1);
  m_timeline->setVisible(band > 0);
  m_edtPath->setGeometry(25, 724 + band, 628, 15);
  if (CSkinButton* open = Button(idc::kFileOpen)) open->move(659, 721 + band);
  setFixedSize(kWidth, kHeight + band);
  CentreOnScreen();
  update();
}

int CPlayerDlg::TimelineBand() const {
  return m_timelineShown && !m_full ? CActivityTimeline::kBandHeight : 0;
}

}  // namespace ov
