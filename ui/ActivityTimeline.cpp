#include "ui/ActivityTimeline.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "archive/Calendar.h"
#include "playback/StatusText.h"
#include "res/SkinPalette.h"

namespace ov {

namespace {
constexpr int kTop = 2;          // above the ruler
constexpr int kRightMargin = 5;  // after the plot, inside the band's edge
constexpr int kStripGap = 1;
constexpr int kEventMarker = 3;        // height of an event's bar above the colour
constexpr double kHitTolerance = 3.0;  // pixels around an event that still hit it
constexpr int kDragStart = 4;          // pixels before a press becomes a drag
// One wheel notch shows a fifth less or a quarter more; about 30 notches from a day to minutes.
constexpr double kZoomStep = 0.8;

const QColor kStripBase(44, 44, 44);  // no recording: the strip stays empty
const QColor kRulerFace(46, 46, 46);
const QColor kRulerText(169, 169, 169);
const QColor kTick(110, 110, 110);
const QColor kLabel(200, 200, 200);
const QColor kEvent(255, 92, 60);
const QColor kPlayhead(255, 255, 255);

// Quiet to busy: the skin's slate, its blue, its accent, then amber for the most movement.
QRgb LevelColour(float level) {
  struct Stop {
    float at;
    int r, g, b;
  };
  static constexpr Stop kStops[] = {
      {0.0f, 74, 88, 98}, {0.25f, 0, 120, 190}, {0.6f, 35, 205, 246}, {1.0f, 255, 190, 40}};
  level = std::clamp(level, 0.0f, 1.0f);
  for (size_t i = 1; i < std::size(kStops); ++i) {
    if (level > kStops[i].at) continue;
    const Stop &a = kStops[i - 1], &b = kStops[i];
    const float t = (level - a.at) / (b.at - a.at);
    return qRgb(int(a.r + (b.r - a.r) * t), int(a.g + (b.g - a.g) * t), int(a.b + (b.b - a.b) * t));
  }
  return qRgb(kStops[3].r, kStops[3].g, kStops[3].b);
}

// Ruler steps in seconds: labels at least this far apart.
constexpr int kLabelSpacing = 80;
int32_t RulerStep(double secondsPerPixel) {
  static constexpr int32_t kSteps[] = {1,   2,   5,    10,   15,   30,    60,    120,   300,
                                       600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400};
  for (int32_t s : kSteps)
    if (s / secondsPerPixel >= kLabelSpacing) return s;
  return kSteps[std::size(kSteps) - 1];
}
}  // namespace

// The picture under the pointer and its date-time, in a small window of its own above the strips.
class CActivityTimeline::Preview : public QWidget {
 public:
  explicit Preview(QWidget* owner) : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kBox.width() + 2 * kPad, kBox.height() + kTextHeight + 3 * kPad);
  }
  void Set(const QImage& picture, const QString& text, bool waiting) {
    m_picture = picture;
    m_text = text;
    m_waiting = waiting;
    update();
  }
  bool HasPicture() const { return !m_waiting && !m_picture.isNull(); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), skin::kTitleBand);
    p.setPen(skin::kAccent);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect box(kPad, kPad, kBox.width(), kBox.height());
    p.fillRect(box, Qt::black);
    if (!m_picture.isNull()) {
      const QSize s = m_picture.size().scaled(box.size(), Qt::KeepAspectRatio);
      const QRect at(box.x() + (box.width() - s.width()) / 2,
                     box.y() + (box.height() - s.height()) / 2, s.width(), s.height());
      p.drawImage(at, m_picture);
    }
    if (m_picture.isNull() || m_waiting) {
      p.setPen(kRulerText);
      p.drawText(box, Qt::AlignCenter,
                 m_waiting ? QStringLiteral("…")
                           : QCoreApplication::translate("ActivityTimeline", "No picture"));
    }
    p.setPen(skin::kAccentText);
    p.drawText(QRect(kPad, box.bottom() + kPad, box.width(), kTextHeight), Qt::AlignCenter, m_text);
  }

 private:
  static constexpr QSize kBox{176, 144};
  static constexpr int kPad = 3;
  static constexpr int kTextHeight = 14;
  QImage m_picture;
  QString m_text;
  bool m_waiting = false;
};

CActivityTimeline::CActivityTimeline(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  QFont f = font();
  f.setPixelSize(10);
  setFont(f);
  m_preview = new Preview(this);
  m_preview->hide();
}

CActivityTimeline::~CActivityTimeline() = default;

QWidget* CActivityTimeline::PreviewWindow() const {
  return m_preview && m_preview->isVisible() ? m_preview.data() : nullptr;
}

bool CActivityTimeline::PreviewShowsPicture() const {
  return m_preview && m_preview->isVisible() && m_preview->HasPicture();
}

void CActivityTimeline::SetSnapshot(std::shared_ptr<const ActivitySnapshot> snap) {
  m_snap = std::move(snap);
  UpdateDomain();
  update();
}

void CActivityTimeline::SetRecording(int32_t seconds, int32_t startSecond) {
  m_seconds = seconds;
  m_startSecond = startSecond;
  m_playhead = -1;
  m_view = TimelineView{};
  UpdateDomain();
  HidePreview();
  update();
}

void CActivityTimeline::SetChannels(std::vector<int32_t> shown, int32_t selected) {
  if (shown == m_slots && selected == m_selected) return;
  m_slots = std::move(shown);
  m_selected = selected;
  update();
}

void CActivityTimeline::SetPlayhead(int32_t second) {
  if (second == m_playhead) return;
  m_playhead = second;
  // A playhead that leaves the view takes the view with it, unless the person is dragging it.
  if (!m_dragging && m_view.ZoomedIn() &&
      (second < m_view.First() || second + 1 > m_view.First() + m_view.Span()))
    m_view.Reveal(second);
  update();
}

void CActivityTimeline::SetTimeFormat(int format) {
  m_timeFormat = format;
  update();
}

void CActivityTimeline::UpdateDomain() {
  const int32_t seconds = std::max(m_seconds, m_snap ? m_snap->seconds : 0);
  m_view.SetDomain(seconds, std::max(1, width() - kLabelWidth - kRightMargin));
}

const ChannelActivity* CActivityTimeline::ChannelOf(int32_t slot) const {
  if (!m_snap) return nullptr;
  for (const ChannelActivity& ch : m_snap->channels)
    if (ch.slot == slot) return &ch;
  return nullptr;
}

QRect CActivityTimeline::StripRect(int index) const {
  const int top = kTop + kRulerHeight + 3;
  const int n = std::max<int>(1, int(m_slots.size()));
  const int h = std::min(kMaxStripHeight, (height() - top - 3) / n);
  return {kLabelWidth, top + index * h, m_view.Width(), std::max(1, h - kStripGap)};
}

int CActivityTimeline::StripAt(int y) const {
  for (int i = 0; i < int(m_slots.size()); ++i) {
    const QRect r = StripRect(i);
    if (y >= r.top() && y <= r.bottom() + kStripGap) return i;
  }
  return -1;
}

QString CActivityTimeline::DateTimeText(int32_t second) const {
  return QString::fromStdString(
      FormatDateTime(SecondsToCalendar(AddSeconds(m_startSecond, second)), m_timeFormat));
}

void CActivityTimeline::resizeEvent(QResizeEvent*) { UpdateDomain(); }

QImage CActivityTimeline::StripPixels(const ChannelActivity* ch) const {
  const int w = m_view.Width();
  QImage row(w, 1, QImage::Format_RGB32);
  row.fill(kStripBase);
  if (ch == nullptr || ch->level.empty()) return row;
  auto* px = reinterpret_cast<QRgb*>(row.scanLine(0));
  const double perPixel = m_view.Span() / double(w);
  const int64_t n = int64_t(ch->level.size());
  for (int x = 0; x < w; ++x) {
    // Every second the column covers counts, so a short burst never falls between pixels.
    const double from = m_view.First() + x * perPixel;
    const int64_t a = int64_t(std::floor(from));
    const int64_t b = std::max(a, int64_t(std::ceil(from + perPixel)) - 1);
    float best = kNoRecording;
    for (int64_t s = std::max<int64_t>(a, 0); s <= b && s < n; ++s)
      best = std::max(best, ch->level[size_t(s)]);
    if (best >= 0.0f) px[x] = LevelColour(best);
  }
  return row;
}

void CActivityTimeline::SetGaps(std::vector<std::pair<int32_t, int32_t>> gaps) {
  m_gaps = std::move(gaps);
  update();
}

void CActivityTimeline::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), skin::kTitleBand);
  PaintRuler(p);
  PaintStrips(p);
  const int plotTop = kTop,
            plotBottom = StripRect(std::max<int>(0, int(m_slots.size()) - 1)).bottom();
  for (const auto& [from, to] : m_gaps) {
    const double x0 = std::max(0.0, m_view.XOfSecond(from)),
                 x1 = std::min(double(m_view.Width()), m_view.XOfSecond(to));
    if (x1 <= x0) continue;
    const QRect band(PlotLeft() + int(x0), plotTop, std::max(1, int(x1 - x0)),
                     plotBottom - plotTop + 1);
    p.fillRect(band, skin::kTitleBand);
    p.fillRect(band, QBrush(kRulerText, Qt::BDiagPattern));
  }
  if (m_hoverSecond >= 0) {
    const int x = PlotLeft() + int(std::floor(m_view.XOfSecond(m_hoverSecond + 0.5)));
    p.setPen(QPen(skin::kAccentText, 1, Qt::DotLine));
    p.drawLine(x, plotTop, x, plotBottom);
  }
  if (m_playhead >= 0) {
    const double x = m_view.XOfSecond(m_playhead);
    if (x >= 0 && x <= m_view.Width()) {
      p.setPen(kPlayhead);
      p.drawLine(PlotLeft() + int(x), plotTop, PlotLeft() + int(x), plotBottom);
    }
  }
}

void CActivityTimeline::PaintRuler(QPainter& p) {
  const QRect ruler(PlotLeft(), kTop, m_view.Width(), kRulerHeight);
  p.fillRect(ruler, kRulerFace);
  p.fillRect(QRect(2, kTop, kLabelWidth - 4, kRulerHeight), kRulerFace);
  p.setPen(kRulerText);
  // The zoom: how much of the recording the strips show.
  const double shown = m_view.Span() / double(std::max(1, m_view.Seconds()));
  p.drawText(QRect(2, kTop, kLabelWidth - 4, kRulerHeight), Qt::AlignCenter,
             shown >= 0.999 ? QCoreApplication::translate("ActivityTimeline", "all")
                            : QStringLiteral("%1%").arg(std::max(1, int(shown * 100))));
  if (m_seconds <= 0 && !m_snap) return;
  const double perPixel = m_view.Span() / double(m_view.Width());
  const int32_t step = RulerStep(perPixel);
  // Ticks on whole steps of the time of day, as a clock reads them.
  const int64_t first = int64_t(m_startSecond) + int64_t(std::floor(m_view.First()));
  int64_t tick = (first / step) * step;
  p.setClipRect(ruler);
  for (; tick <= first + int64_t(m_view.Span()) + step; tick += step) {
    const double x = m_view.XOfSecond(double(tick - m_startSecond));
    if (x < -kLabelSpacing || x > m_view.Width()) continue;
    const int px = PlotLeft() + int(std::lround(x));
    p.setPen(kTick);
    p.drawLine(px, kTop + kRulerHeight - 4, px, kTop + kRulerHeight - 1);
    const CalendarTime t = SecondsToCalendar(int32_t(tick));
    char text[32];
    if (step >= 60)
      std::snprintf(text, sizeof text, "%02d:%02d", t.hour, t.minute);
    else
      std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    p.setPen(kRulerText);
    p.drawText(QRect(px + 3, kTop, kLabelSpacing - 6, kRulerHeight - 1),
               Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(text));
  }
  p.setClipping(false);
  if (m_snap && !m_snap->complete) {
    const QString note = QCoreApplication::translate("ActivityTimeline", " Analysing %1 % ")
                             .arg(int(m_snap->progress * 100));
    const int w = p.fontMetrics().horizontalAdvance(note) + 4;
    const QRect at(ruler.right() - w, kTop, w, kRulerHeight);
    p.fillRect(at, skin::kTitleBand);
    p.setPen(skin::kAccentText);
    p.drawText(at, Qt::AlignCenter, note);
  }
}

void CActivityTimeline::PaintStrips(QPainter& p) {
  for (int i = 0; i < int(m_slots.size()); ++i) {
    const QRect r = StripRect(i);
    const int32_t slot = m_slots[size_t(i)];
    const ChannelActivity* ch = ChannelOf(slot);
    const bool selected = slot == m_selected;
    p.setPen(selected ? skin::kAccentText : kLabel);
    QFont f = font();
    f.setBold(selected);
    p.setFont(f);
    p.drawText(QRect(2, r.top(), kLabelWidth - 6, r.height()), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("CH %1").arg(slot + 1));
    p.setFont(font());
    p.drawImage(r, StripPixels(ch));
    if (selected) {
      p.setPen(skin::kAccent);
      p.drawLine(r.left() - 3, r.top(), r.left() - 3, r.bottom());
    }
    if (ch == nullptr) continue;
    const int markerHeight = std::min(kEventMarker, std::max(1, r.height() / 4));
    for (const ActivityEvent& e : ch->events) {
      const double a = m_view.XOfSecond(e.fromSecond), b = m_view.XOfSecond(e.toSecond + 1.0);
      if (b < 0 || a > m_view.Width()) continue;
      const int x0 = r.left() + int(std::max(0.0, a));
      const int x1 = r.left() + int(std::min(double(m_view.Width()), std::max(b, a + 2.0)));
      p.fillRect(QRect(x0, r.top(), x1 - x0, markerHeight), kEvent);
      p.fillRect(QRect(x0, r.top(), 1, r.height()), kEvent);
    }
  }
}

void CActivityTimeline::wheelEvent(QWheelEvent* event) {
  const double x = event->position().x() - PlotLeft();
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0.0 || x < 0) return;
  m_view.ZoomAt(x, std::pow(kZoomStep, notches));
  event->accept();
  Hover(event->position().toPoint());
  update();
}

void CActivityTimeline::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  m_pressAt = event->position().toPoint();
  m_lastDragX = m_pressAt->x();
  m_dragging = false;
}

void CActivityTimeline::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (m_pressAt && (event->buttons() & Qt::LeftButton)) {
    if (!m_dragging && std::abs(p.x() - m_pressAt->x()) >= kDragStart) {
      m_dragging = true;
      HidePreview();
    }
    if (m_dragging) {
      m_view.ScrollByPixels(p.x() - m_lastDragX);
      m_lastDragX = p.x();
      update();
      return;
    }
  }
  Hover(p);
}

void CActivityTimeline::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_pressAt) return QWidget::mouseReleaseEvent(event);
  const bool click = !m_dragging;
  m_pressAt.reset();
  m_dragging = false;
  const QPoint p = event->position().toPoint();
  const double x = p.x() - PlotLeft();
  if (!click || x < 0 || x >= m_view.Width() || (m_seconds <= 0 && !m_snap)) return;
  // On an event's mark: its start, where the movement begins; elsewhere the second itself.
  const int strip = StripAt(p.y());
  if (strip >= 0) {
    if (const ChannelActivity* ch = ChannelOf(m_slots[size_t(strip)]))
      if (auto e = EventAtX(ch->events, m_view, x, kHitTolerance)) {
        emit seekRequested(e->fromSecond);
        return;
      }
  }
  emit seekRequested(m_view.SecondAt(x));
}

void CActivityTimeline::mouseDoubleClickEvent(QMouseEvent* event) {
  // Back to the whole recording.
  if (event->button() == Qt::LeftButton && event->position().x() < PlotLeft()) {
    m_view.ShowAll();
    update();
  }
}

void CActivityTimeline::leaveEvent(QEvent*) { HidePreview(); }
void CActivityTimeline::hideEvent(QHideEvent*) { HidePreview(); }

void CActivityTimeline::HidePreview() {
  const bool had = m_hoverSlot >= 0 || m_hoverSecond >= 0;
  m_hoverSlot = -1;
  m_hoverSecond = -1;
  if (m_preview) m_preview->hide();
  if (had) {
    emit previewWanted(-1, 0);
    update();
  }
}

void CActivityTimeline::Hover(QPoint p) {
  const double x = p.x() - PlotLeft();
  const int strip = StripAt(p.y());
  if (strip < 0 || x < 0 || x >= m_view.Width() || (m_seconds <= 0 && !m_snap)) {
    HidePreview();
    return;
  }
  const int slot = m_slots[size_t(strip)];
  const int32_t second = m_view.SecondAt(x);
  if (slot == m_hoverSlot && second == m_hoverSecond && m_preview && m_preview->isVisible()) return;
  m_hoverSlot = slot;
  m_hoverSecond = second;
  update();
  if (m_preview) {
    m_preview->Set({}, QStringLiteral("CH %1  %2").arg(slot + 1).arg(DateTimeText(second)), true);
    const QPoint global = mapToGlobal(QPoint(p.x(), 0));
    int left = global.x() - m_preview->width() / 2;
    if (const QScreen* s = screen()) {
      const QRect area = s->geometry();
      left = std::clamp(left, area.left(), area.right() - m_preview->width());
    }
    m_preview->move(left, global.y() - m_preview->height() - 4);
    m_preview->show();
  }
  emit previewWanted(slot, second);
}

void CActivityTimeline::SetPreview(int slot, int32_t second, const QImage& picture,
                                   int32_t pictureSecond) {
  if (slot != m_hoverSlot || second != m_hoverSecond || !m_preview) return;
  // The date-time of the picture shown, which is the key frame's: at or a little before the
  // second under the pointer.
  const int32_t shown = picture.isNull() ? second : pictureSecond - m_startSecond;
  m_preview->Set(picture, QStringLiteral("CH %1  %2").arg(slot + 1).arg(DateTimeText(shown)),
                 false);
}

}  // namespace ov
