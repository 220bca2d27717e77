#pragma once
// The activity timeline under the seek slider: one strip per shown channel with its activity as
// colour (nothing where the channel has no recording), its events marked above the colour, a time
// ruler, the playhead, and a preview picture of the channel under the pointer. The wheel zooms
// between the whole recording and a few minutes, dragging scrolls, a click goes to the second (or
// to the start of the event) under the pointer.
//
// Threads: window thread only. The analysis and the previews are fed in by the window.
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "activity/Activity.h"
#include "ui/TimelineView.h"

namespace ov {

class CActivityTimeline : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kBandHeight = 150;  // the band the window grows by when it is shown
  static constexpr int kLabelWidth = 38;   // "CH 16" beside each strip
  static constexpr int kRulerHeight = 15;
  static constexpr int kMaxStripHeight = 30;

  explicit CActivityTimeline(QWidget* parent);
  ~CActivityTimeline() override;

  // What the analysis knows so far (null: no file). Repaints only what changed.
  void SetSnapshot(std::shared_ptr<const ActivitySnapshot> snap);
  // The recording: its length in the slider's seconds and its first second since 1970.
  void SetRecording(int32_t seconds, int32_t startSecond);
  // The slots shown in the panes, in pane order; selected is the selected pane's slot (-1: none).
  void SetChannels(std::vector<int32_t> shown, int32_t selected);
  // The second being played, for the playhead; the view follows it when it leaves the view.
  void SetPlayhead(int32_t second);
  // Pauses between the files of a set, [from, to) in seconds from the start: drawn hatched, as
  // nothing was recorded there.
  void SetGaps(std::vector<std::pair<int32_t, int32_t>> gaps);
  const std::vector<std::pair<int32_t, int32_t>>& Gaps() const { return m_gaps; }
  // The preview asked for last is ready (null picture: no picture there).
  void SetPreview(int slot, int32_t second, const QImage& picture, int32_t pictureSecond);
  // The date-time format of the date line (1..6).
  void SetTimeFormat(int format);

  const TimelineView& View() const { return m_view; }
  TimelineView& View() { return m_view; }
  const std::vector<int32_t>& Slots() const { return m_slots; }
  std::shared_ptr<const ActivitySnapshot> Snapshot() const { return m_snap; }
  // Where strip i lies, in widget pixels, and the plot's left edge.
  QRect StripRect(int index) const;
  int PlotLeft() const { return kLabelWidth; }
  // The preview window while it is shown (null otherwise), for tests and screenshots.
  QWidget* PreviewWindow() const;
  // True once the preview window shows the picture asked for last.
  bool PreviewShowsPicture() const;
  int32_t HoveredSecond() const { return m_hoverSecond; }
  int HoveredSlot() const { return m_hoverSlot; }

 signals:
  // A click: go to this second (the slider's seconds) and land on its first picture.
  void seekRequested(int32_t second);
  // The pointer rests over slot's strip at second (slot -1: it left the strips).
  void previewWanted(int slot, int32_t second);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  class Preview;
  const ChannelActivity* ChannelOf(int32_t slot) const;
  int StripAt(int y) const;
  void UpdateDomain();
  void Hover(QPoint p);
  void HidePreview();
  void PaintRuler(QPainter& p);
  void PaintStrips(QPainter& p);
  QImage StripPixels(const ChannelActivity* ch) const;
  QString DateTimeText(int32_t second) const;

  std::shared_ptr<const ActivitySnapshot> m_snap;
  TimelineView m_view;
  std::vector<int32_t> m_slots;
  int32_t m_selected = -1;
  int32_t m_seconds = 0;
  int32_t m_startSecond = 0;
  int32_t m_playhead = -1;
  std::vector<std::pair<int32_t, int32_t>> m_gaps;
  int m_timeFormat = 1;
  int m_hoverSlot = -1;
  int32_t m_hoverSecond = -1;
  std::optional<QPoint> m_pressAt;
  int m_lastDragX = 0;
  bool m_dragging = false;
  QPointer<Preview> m_preview;
};

}  // namespace ov
