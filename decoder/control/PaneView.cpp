#include "decoder/control/PaneView.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QTextLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "decoder/control/PaneLayout.h"

namespace ov {
namespace {
const QColor kIdleTop(38, 44, 56);
const QColor kIdleBottom(14, 16, 22);
const QColor kPaneDark(10, 10, 12);
const QColor kGrid(70, 70, 78);
const QColor kSelected(255, 196, 0);
// A wheel notch is 120 units; touchpads send smaller deltas that add up to steps.
constexpr double kWheelNotch = 120.0;
constexpr size_t kMaxLatencies = 1 << 16;  // bounds the log when nobody reads it
}  // namespace

PaneView::PaneView(PictureBoard& board, QWidget* parent) : QWidget(parent), m_board(board) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel is painted
  setMinimumSize(64, 48);
  resize(704, 576);
  m_refresh.setSingleShot(true);
  connect(&m_refresh, &QTimer::timeout, this, &PaneView::Flush);
  m_sinceFlush.start();
  m_avStats = std::getenv("OV_AV_STATS") != nullptr;
  m_board.SetListener([this] {
    if (!m_pending.exchange(true))
      QMetaObject::invokeMethod(this, &PaneView::OnPicturesReady, Qt::QueuedConnection);
  });
  UpdateTargets();
}

PaneView::~PaneView() {
  m_board.SetListener({});
  if (!m_avStats || m_avOffsets.empty()) return;
  std::sort(m_avOffsets.begin(), m_avOffsets.end());
  const auto at = [&](double q) { return m_avOffsets[size_t(q * double(m_avOffsets.size() - 1))]; };
  std::fprintf(stderr,
               "CQL_Ctrl_Player: picture after sound by %.0f ms (median; 10%% %.0f, 90%% %.0f) "
               "over %zu pictures\n",
               at(0.5), at(0.1), at(0.9), m_avOffsets.size());
}

void PaneView::SetPaneCount(int paneCount) {
  m_paneCount = pane::NormaliseCount(paneCount);
  m_zoomed = -1;
  if (m_selected >= m_paneCount) m_selected = 0;
  UpdateTargets();
  update();
}

void PaneView::SetTitle(int pane, const QString& title) {
  if (pane < 0 || pane >= kChannels) return;
  m_titles[pane] = title;
  const QRect r = ChannelRect(pane);
  if (!r.isEmpty()) update(r.adjusted(-1, -1, 1, 1));
}

QString PaneView::Title(int pane) const {
  return pane >= 0 && pane < kChannels ? m_titles[pane] : QString();
}

void PaneView::SetProductText(const QString& text) {
  m_product = text;
  update();
}

void PaneView::SetVersionText(const QString& text) {
  m_version = text;
  update();
}

void PaneView::SetZoomedPane(int pane) {
  m_zoomed = (pane >= 0 && pane < m_paneCount) ? pane : -1;
  UpdateTargets();
  update();
}

QRect PaneView::ChannelRect(int channel) const {
  if (m_zoomed >= 0) return channel == m_zoomed ? pane::ContentRect(size(), 1, 0) : QRect();
  return channel < m_paneCount ? pane::ContentRect(size(), m_paneCount, channel) : QRect();
}

QRect PaneView::PictureRect(int channel) const {
  const QRect cr = ChannelRect(channel);
  if (cr.isEmpty()) return {};
  const QImage image = m_board.Get(channel).image;
  if (image.isNull() || image.height() == 0) return cr;
  const double aspect = static_cast<double>(image.width()) / image.height();
  return pane::Centred(cr, pane::FitSize(cr.size(), aspect));
}

void PaneView::SetRegion(int channel, const zoom::Region& region) {
  if (channel < 0 || channel >= kChannels) return;
  PictureSettings s = m_board.Settings(channel);
  if (s.region == region) return;
  s.region = region;
  m_board.SetSettings(channel, s);  // the decoder redraws its last picture for it
  const QRect r = ChannelRect(channel);
  if (!r.isEmpty()) update(r);
}

void PaneView::ZoomChannel(int channel, double steps, zoom::Point p) {
  if (channel < 0 || channel >= kChannels) return;
  SetRegion(channel, steps == 0 ? zoom::Region{} : ZoomAbout(Region(channel), steps, p));
}

void PaneView::ResetZoom(int channel) { ZoomChannel(channel, 0); }

void PaneView::ResetAllZoom() {
  for (int ch = 0; ch < kChannels; ++ch) ResetZoom(ch);
  m_dragChannel = -1;
}

void PaneView::SetPicture(int channel, const PictureAdjust& adjust, Deinterlace deinterlace) {
  if (channel < 0 || channel >= kChannels) return;
  PictureSettings s = m_board.Settings(channel);
  s.adjust = adjust.Clamped();
  s.deinterlace = deinterlace;
  m_board.SetSettings(channel, s);
}

std::vector<double> PaneView::TakeLatencies() {
  std::vector<double> out;
  out.swap(m_latencies);
  return out;
}

void PaneView::UpdateTargets() {
  for (int ch = 0; ch < kChannels; ++ch) m_board.SetTargetSize(ch, ChannelRect(ch).size());
}

void PaneView::resizeEvent(QResizeEvent*) { UpdateTargets(); }

int PaneView::DisplayFrameMs() const {
  const QScreen* s = screen();
  const double hz = s && s->refreshRate() >= 10 ? s->refreshRate() : 60.0;
  return std::max(1, static_cast<int>(1000.0 / hz));
}

void PaneView::OnPicturesReady() {
  if (m_refresh.isActive()) return;
  m_refresh.start(std::max<qint64>(0, DisplayFrameMs() - m_sinceFlush.elapsed()));
}

void PaneView::Flush() {
  m_pending.store(false);
  m_sinceFlush.restart();
  const uint32_t dirty = m_board.TakeDirty();
  // Pictures held back for the sound come up when they are due, those falling due within one
  // display refresh together: the screen shows no more than that, and a refresh per picture
  // woke the window thread for each of sixteen channels' pictures.
  if (const auto due = m_board.NextDue()) {
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(*due - std::chrono::steady_clock::now());
    m_refresh.start(std::max<int>(DisplayFrameMs(), static_cast<int>(wait.count())));
  }
  // While pictures keep coming the next refresh is set here, and the decoders' notices are not
  // posted while one is set (a posted notice would only find the timer running): one wake-up of
  // the window thread per refresh instead of two. A refresh that finds nothing new and nothing
  // held lets the next picture post again.
  if (dirty != 0 && !m_refresh.isActive()) m_refresh.start(DisplayFrameMs());
  if (m_refresh.isActive()) m_pending.store(true);
  const bool idle = !m_board.AnyPicture();
  if (idle != m_idle) {  // the idle background covers everything
    m_idle = idle;
    update();
    return;
  }
  // Only the changed panes: each is painted under a clip of its own rectangle (see paintEvent),
  // so a picture's copy stays a plain row copy however many panes changed.
  QRegion changed;
  for (int ch = 0; ch < kChannels; ++ch) {
    if (dirty & (1u << ch)) changed += ChannelRect(ch);
  }
  if (!changed.isEmpty()) update(changed);
}

void PaneView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QRegion& region = event->region();
  if (m_idle) {
    p.setClipRegion(region);
    PaintIdle(p);
  }
  // Each pane under the part of the region it holds: that is one rectangle when the pane changed
  // alone, and a rectangle clip keeps the raster engine on its plain copy. Under a clip of several
  // rectangles it blends span by span and hands large copies to its thread pool.
  const int shown = ShownPanes();
  for (int i = 0; i < shown; ++i) {
    const QRect pr = pane::PaneRect(size(), shown, i);
    if (!region.intersects(pr)) continue;
    const QRegion part = region.intersected(pr);
    if (part.rectCount() == 1)
      p.setClipRect(part.boundingRect());
    else
      p.setClipRegion(part);
    PaintPane(p, i);
  }
}

void PaneView::PaintGridLines(QPainter& p, QRect pane) {
  // Each pane draws the lines on its top and left edge; the outer edges get none.
  p.setPen(kGrid);
  if (pane.y() > 0) p.drawLine(pane.topLeft(), pane.topRight());
  if (pane.x() > 0) p.drawLine(pane.topLeft(), pane.bottomLeft());
}

void PaneView::PaintIdle(QPainter& p) {
  QLinearGradient g(0, 0, 0, height());
  g.setColorAt(0, kIdleTop);
  g.setColorAt(1, kIdleBottom);
  p.fillRect(rect(), g);
  QFont f = font();
  f.setPixelSize(std::max(12, height() / 12));
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(200, 205, 215));
  // Both texts sit just above the middle line: the lower panes' titles start right below it.
  QFont small = f;
  small.setPixelSize(std::max(10, height() / 36));
  small.setBold(false);
  const int versionHeight = QFontMetrics(small).height();
  const QRect upper(0, 0, width(), height() / 2 - versionHeight - 8);
  p.drawText(upper, Qt::AlignHCenter | Qt::AlignBottom, m_product);
  p.setFont(small);
  p.setPen(QColor(150, 155, 165));
  const QRect lower(0, height() / 2 - versionHeight - 6, width(), versionHeight);
  // Trimmed: the version text is padded with spaces for a layout of its own.
  p.drawText(lower, Qt::AlignHCenter | Qt::AlignVCenter, m_version.trimmed());
}

void PaneView::PaintPane(QPainter& p, int index) {
  const int shown = ShownPanes();
  const int ch = ChannelOfShownPane(index);
  const QRect pr = pane::PaneRect(size(), shown, index);
  const QRect cr = pane::ContentRect(size(), shown, index);
  const Picture pic = m_board.Get(ch);
  if (pic.image.isNull() || cr.isEmpty()) {
    if (!m_idle) p.fillRect(cr, kPaneDark);
    if (m_board.Unavailable(ch) && !cr.isEmpty()) {
      QFont f = font();
      f.setPixelSize(std::clamp(cr.height() / 10, 10, 20));
      p.setFont(f);
      p.setPen(Qt::white);
      p.drawText(cr, Qt::AlignCenter, QStringLiteral("Unavailable"));
    }
  } else {
    const double aspect = static_cast<double>(pic.image.width()) / pic.image.height();
    const QSize fit = pane::FitSize(cr.size(), aspect);
    const QRect target = pane::Centred(cr, fit);
    // Only the bars beside the picture are filled: the picture covers the rest, and writing its
    // pixels twice would double the paint's cost.
    if (!m_idle && target != cr)
      for (const QRect& bar : QRegion(cr).subtracted(target)) p.fillRect(bar, kPaneDark);
    if (fit == pic.image.size()) {
      p.drawImage(target.topLeft(), pic.image);
    } else {  // decoded for an older pane size; the next picture will fit
      p.drawImage(target, pic.image);
    }
    const zoom::Region region = Region(ch);
    if (!region.Whole()) PaintOverview(p, target, region);
    if (pic.serial != m_paintedSerial[ch]) {
      m_paintedSerial[ch] = pic.serial;
      ++m_painted[ch];
      if (m_latencies.size() < kMaxLatencies) {
        const auto d = std::chrono::steady_clock::now() - pic.submitted;
        m_latencies.push_back(std::chrono::duration<double, std::milli>(d).count());
      }
      // Both lags count from the moment playback handed the instant over.
      if (m_avStats && m_soundLag && m_avOffsets.size() < kMaxLatencies) {
        const double sound = m_soundLag();
        const auto d = std::chrono::steady_clock::now() - pic.submitted;
        if (sound >= 0)
          m_avOffsets.push_back(std::chrono::duration<double, std::milli>(d).count() - sound);
      }
    }
  }
  PaintGridLines(p, pr);
  if (!m_titles[ch].isEmpty() && !cr.isEmpty()) {
    QFont f = font();
    f.setPixelSize(std::clamp(cr.height() / 14, 10, 16));
    p.setFont(f);
    // A dark plate keeps the title legible on any picture.
    const TitleMetrics& title = LaidOutTitle(ch, f);
    const QRect plate(cr.x() + 2, cr.y() + 2, std::min(title.bounds.width() + 8, cr.width() - 4),
                      title.bounds.height() + 4);
    p.fillRect(plate, QColor(0, 0, 0, 150));
    p.setPen(Qt::white);
    const QRect inside = plate.adjusted(4, 2, -4, -2);
    // A title wider than its pane is cut at the plate's edge.
    const bool cut = title.bounds.width() > inside.width();
    if (cut) {
      p.save();
      p.setClipRect(inside, Qt::IntersectClip);
    }
    title.laidOut->draw(&p, QPointF(inside.x(), inside.y() + title.drop));
    if (cut) p.restore();
  }
  if (ch == m_selected && shown > 1) {
    p.setPen(QPen(kSelected, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(pr).adjusted(1, 1, -1, -1));
  }
}

const PaneView::TitleMetrics& PaneView::LaidOutTitle(int channel, const QFont& font) {
  TitleMetrics& m = m_titleMetrics[channel];
  if (m.text != m_titles[channel] || m.font != font) {
    // Laying a title out is most of a pane's paint, so it is done once per text and font.
    // Measured as drawText lays it out: the ink bounds alone miss glyphs from a fallback font.
    m.text = m_titles[channel];
    m.font = font;
    m.bounds =
        QFontMetrics(font, this).boundingRect(QRect(), Qt::AlignLeft | Qt::AlignVCenter, m.text);
    // Placed as drawText places one line centred in a box of the measured height, so the pixels
    // are the same.
    m.laidOut = std::make_unique<QTextLayout>(m.text, font, this);
    QTextOption option;
    option.setWrapMode(QTextOption::ManualWrap);
    m.laidOut->setTextOption(option);
    m.laidOut->setCacheEnabled(true);
    m.laidOut->beginLayout();
    QTextLine line = m.laidOut->createLine();
    if (line.isValid()) {
      line.setLineWidth(0);
      line.setPosition(QPointF(0, 0));
    }
    m.laidOut->endLayout();
    m.drop = (m.bounds.height() - QFontMetricsF(font, this).height()) / 2;
  }
  return m;
}

void PaneView::PaintOverview(QPainter& p, QRect picture, const zoom::Region& region) {
  // The whole picture in small in the bottom right corner, the visible part marked in it.
  const int w = std::max(16, picture.width() / 5);
  const int h = std::max(12, w * picture.height() / std::max(1, picture.width()));
  if (w + 8 > picture.width() || h + 8 > picture.height()) return;
  const QRect whole(picture.right() - w - 4, picture.bottom() - h - 4, w, h);
  p.save();
  p.setClipRect(picture, Qt::IntersectClip);
  p.fillRect(whole, QColor(0, 0, 0, 140));
  p.setBrush(Qt::NoBrush);
  p.setPen(QColor(220, 220, 220));
  p.drawRect(whole.adjusted(0, 0, -1, -1));
  const QRectF seen(whole.x() + region.x * w, whole.y() + region.y * h,
                    std::max(2.0, region.size * w), std::max(2.0, region.size * h));
  p.fillRect(seen, QColor(255, 196, 0, 90));
  p.setPen(kSelected);
  p.drawRect(seen.adjusted(0, 0, -1, -1));
  p.restore();
}

void PaneView::wheelEvent(QWheelEvent* event) {
  const QPoint at = event->position().toPoint();
  const int index = pane::PaneAt(size(), ShownPanes(), at);
  const double steps = event->angleDelta().y() / kWheelNotch;
  if (index < 0 || steps == 0) return QWidget::wheelEvent(event);
  const int ch = ChannelOfShownPane(index);
  const QRect pic = PictureRect(ch);
  if (pic.isEmpty()) return;
  const zoom::Point p{(at.x() - pic.x()) / double(pic.width()),
                      (at.y() - pic.y()) / double(pic.height())};
  SetRegion(ch, ZoomAbout(Region(ch), steps, p));
  event->accept();
}

void PaneView::mouseMoveEvent(QMouseEvent* event) {
  if (m_dragChannel < 0 || !(event->buttons() & Qt::LeftButton))
    return QWidget::mouseMoveEvent(event);
  const QRect pic = PictureRect(m_dragChannel);
  if (pic.isEmpty()) return;
  const QPointF d = event->position() - m_dragFrom;
  m_dragFrom = event->position();
  SetRegion(m_dragChannel, Pan(Region(m_dragChannel), d.x() / pic.width(), d.y() / pic.height()));
}

void PaneView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_dragChannel >= 0) {
    m_dragChannel = -1;
    unsetCursor();
  }
  QWidget::mouseReleaseEvent(event);
}

void PaneView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const int index = pane::PaneAt(size(), ShownPanes(), event->position().toPoint());
  if (index < 0) return;
  const int ch = ChannelOfShownPane(index);
  if (!Region(ch).Whole()) {
    m_dragChannel = ch;
    m_dragFrom = event->position();
    setCursor(Qt::ClosedHandCursor);
  }
  if (ch != m_selected) {
    m_selected = ch;
    update();
  }
  emit paneSelected(index, ch);
}

void PaneView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
  const int index = pane::PaneAt(size(), ShownPanes(), event->position().toPoint());
  if (index < 0) return;
  const int ch = ChannelOfShownPane(index);
  if (m_zoomed >= 0) {
    SetZoomedPane(-1);
  } else if (m_paneCount > 1) {
    SetZoomedPane(ch);
  }
  m_selected = ch;
  emit zoomChanged(ch, m_zoomed >= 0);
}

}  // namespace ov
