#pragma once
// The control's window: the pane grid with each channel's picture (aspect kept), its title, the
// selected pane's highlight, and the idle background with the product and version texts.
//
// A click selects a pane; a double click shows that pane alone and the next one returns to the
// grid. The wheel zooms a pane about the point under the pointer and a drag pans a zoomed pane; a
// zoomed pane shows an overview of the visible part in its corner. Decoding threads present
// pictures on the board; the view repaints only the panes that changed, at most once per display
// refresh. Window thread only.
#include <QElapsedTimer>
#include <QFont>
#include <QString>
#include <QTextLayout>
#include <QTimer>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "decoder/control/PictureBoard.h"
#include "picture/PaneZoom.h"

namespace ov {

class PaneView : public QWidget {
  Q_OBJECT

 public:
  explicit PaneView(PictureBoard& board, QWidget* parent = nullptr);
  ~PaneView() override;

  void SetPaneCount(int paneCount);  // 1, 4, 9 or 16; returns to the grid
  void SetTitle(int pane, const QString& title);
  QString Title(int pane) const;
  void SetProductText(const QString& text);
  void SetVersionText(const QString& text);
  int SelectedPane() const { return m_selected; }
  // The pane shown alone, or -1 for the grid.
  int ZoomedPane() const { return m_zoomed; }
  void SetZoomedPane(int pane);
  // Where a channel's picture is drawn (empty when the channel is not shown).
  QRect ChannelRect(int channel) const;

  // Zoom of a channel's pane by kStep^steps about p (its centre unless given); 0 steps resets.
  void ZoomChannel(int channel, double steps, zoom::Point p = {});
  void ResetZoom(int channel);
  void ResetAllZoom();
  zoom::Region Region(int channel) const { return m_board.Settings(channel).region; }
  // Any setting of a channel but its region.
  void SetPicture(int channel, const PictureAdjust& adjust, Deinterlace deinterlace);
  // Where the picture (or the zoomed region) of a channel is drawn; empty when not shown.
  QRect PictureRect(int channel) const;

  // Delay from a picture's submission to its first paint, in milliseconds, since the last call.
  std::vector<double> TakeLatencies();
  // Pictures painted per channel since the view was made.
  uint64_t PaintedPictures(int channel) const { return m_painted[channel]; }
  // Where the sound's current lag comes from (negative: no sound flowing). With OV_AV_STATS set
  // the view measures, for each new picture painted while sound flows, how much later than the
  // sound of the same instant it comes out, and prints a summary when it goes.
  void SetSoundLag(std::function<double()> lagNowMs) { m_soundLag = std::move(lagNowMs); }

 signals:
  void paneSelected(int pane, int channel);
  void zoomChanged(int pane, bool alone);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  int ShownPanes() const { return m_zoomed >= 0 ? 1 : m_paneCount; }
  int ChannelOfShownPane(int index) const { return m_zoomed >= 0 ? m_zoomed : index; }
  void UpdateTargets();
  int DisplayFrameMs() const;
  void OnPicturesReady();
  void Flush();
  void PaintIdle(QPainter& p);
  void PaintPane(QPainter& p, int index);
  void PaintGridLines(QPainter& p, QRect pane);
  void PaintOverview(QPainter& p, QRect picture, const zoom::Region& region);
  void SetRegion(int channel, const zoom::Region& region);

  PictureBoard& m_board;
  int m_paneCount = 16;
  int m_selected = 0;
  int m_zoomed = -1;
  bool m_idle = true;
  std::array<QString, kChannels> m_titles;
  // A title laid out once for the font it is drawn in.
  struct TitleMetrics {
    QString text;
    QFont font;
    QRect bounds;
    std::unique_ptr<QTextLayout> laidOut;
    qreal drop = 0;  // from the box's top to the line's
  };
  const TitleMetrics& LaidOutTitle(int channel, const QFont& font);
  std::array<TitleMetrics, kChannels> m_titleMetrics;
  int m_dragChannel = -1;  // the zoomed pane being panned
  QPointF m_dragFrom;
  QString m_product, m_version;
  std::atomic<bool> m_pending{false};
  QTimer m_refresh;
  QElapsedTimer m_sinceFlush;
  std::array<uint64_t, kChannels> m_paintedSerial{};
  std::array<uint64_t, kChannels> m_painted{};
  std::vector<double> m_latencies;
  std::function<double()> m_soundLag;
  std::vector<double> m_avOffsets;  // only with OV_AV_STATS
  bool m_avStats = false;
};

}  // namespace ov
