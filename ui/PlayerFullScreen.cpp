// Full screen: the decoder control fills the screen (it scales its panes, keeping each picture's
// aspect), and the window's own transport row is laid over the bottom of the picture while the
// mouse moves.
#include "ui/PlayerFullScreen.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "ui/ActivityTimeline.h"
#include "ui/CommandIds.h"
#include "ui/StatusTextControl.h"

namespace ov {

namespace {
// The transport row of the window: everything from the status line down.
constexpr int kBarTop = 600;
constexpr int kBarHeight = CPlayerDlg::kHeight - kBarTop;
// How long the transport stays after the mouse stops, long enough to reach a button.
constexpr int kTransportHideMs = 2500;

// Paints the window's own skin behind the transport, centred, with the panel colour beside it.
class TransportPanel : public QWidget {
 public:
  TransportPanel(QImage skin, QWidget* parent) : QWidget(parent), m_skin(std::move(skin)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QColor(100, 100, 100));
    const int x = (width() - m_skin.width()) / 2;
    p.drawImage(x, 0, m_skin);
  }

 private:
  QImage m_skin;
};
}  // namespace

bool CPlayerDlg::FullScreenTransportShown() const { return m_full && m_full->transportShown; }

void CPlayerDlg::SetVideoFullScreen(bool on) {
  if (m_destroyed || on == IsVideoFullScreen() || m_decoderWidget == nullptr) return;
  if (on) {
    // The window as it is without the timeline's band: that is what the transport copies.
    PlaceTimelineBand(0);
    auto full = std::make_unique<FullScreenState>();
    full->windowGeometry = geometry();
    for (QObject* child : children()) {
      auto* w = qobject_cast<QWidget*>(child);
      if (w == nullptr || w->isWindow() || w == m_timeline) continue;
      const bool inBar = w != m_decoderWidget && w->geometry().top() >= kBarTop;
      full->children.push_back({w, w->geometry(), w->isVisible(), inBar});
    }
    const QImage skin = SkinCanvas().copy(0, kBarTop, kWidth, kBarHeight);
    full->panel = new TransportPanel(skin, this);
    full->panel->installEventFilter(this);
    full->hideTimer.setSingleShot(true);
    full->hideTimer.setInterval(kTransportHideMs);
    connect(&full->hideTimer, &QTimer::timeout, this, [this] {
      if (!m_full) return;
      // Not while the pointer rests on the transport.
      if (m_full->panel && m_full->panel->isVisible() &&
          m_full->panel->rect().contains(m_full->panel->mapFromGlobal(QCursor::pos()))) {
        m_full->hideTimer.start();
        return;
      }
      ShowFullScreenTransport(false);
    });
    m_full = std::move(full);
    m_decoderWidget->setMouseTracking(true);
    m_decoderWidget->installEventFilter(this);
    setMouseTracking(true);
    clearMask();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    for (const auto& s : m_full->children)
      if (s.widget && !s.inBar && s.widget != m_decoderWidget) s.widget->hide();
    showFullScreen();
    LayoutFullScreen();
    ShowFullScreenTransport(false);
    activateWindow();
    return;
  }

  std::unique_ptr<FullScreenState> full = std::move(m_full);
  full->hideTimer.stop();
  delete full->panel;
  m_decoderWidget->removeEventFilter(this);
  m_decoderWidget->setMouseTracking(false);
  setMouseTracking(false);
  showNormal();
  setFixedSize(kWidth, kHeight);
  setGeometry(full->windowGeometry);
  for (const auto& s : full->children) {
    if (!s.widget) continue;
    s.widget->setGeometry(s.geometry);
    s.widget->setVisible(s.visible);
  }
  m_decoderWidget->raise();
  CentreOnScreen();
  PlaceTimeline();
  update();
}

void CPlayerDlg::LayoutFullScreen() {
  if (!m_full) return;
  // The timeline runs along the bottom of the screen, under the picture and the transport.
  const int band = m_timelineShown && m_timeline ? CActivityTimeline::kBandHeight : 0;
  if (m_timeline) {
    m_timeline->setGeometry(0, height() - band, width(), band);
    m_timeline->setVisible(band > 0);
    if (band > 0) m_timeline->raise();
  }
  m_decoderWidget->setGeometry(0, 0, width(), height() - band);
  m_decoderWidget->lower();
  const int dx = (width() - kWidth) / 2;
  const int dy = height() - band - kHeight;
  if (m_full->panel) {
    m_full->panel->setGeometry(0, height() - band - kBarHeight, width(), kBarHeight);
    m_full->panel->raise();
  }
  for (const auto& s : m_full->children) {
    if (!s.widget || !s.inBar) continue;
    s.widget->setGeometry(s.geometry.translated(dx, dy));
    s.widget->raise();
  }
}

void CPlayerDlg::ShowFullScreenTransport(bool shown) {
  if (!m_full) return;
  m_full->transportShown = shown;
  if (m_full->panel) m_full->panel->setVisible(shown);
  for (const auto& s : m_full->children)
    if (s.widget && s.inBar) s.widget->setVisible(shown && s.visible);
  if (shown) m_full->hideTimer.start();
  // The keys stay with the window whatever was clicked on the transport.
  if (!shown && focusWidget() != nullptr) setFocus();
}

bool CPlayerDlg::OnDateLine(QPoint p) const {
  CStatusText* line = Status(idc::kOsd);
  return line != nullptr && line->isVisible() && line->geometry().contains(p);
}

void CPlayerDlg::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && OnDateLine(event->position().toPoint())) {
    SetVideoFullScreen(!IsVideoFullScreen());
    return;
  }
  QDialog::mouseDoubleClickEvent(event);
}

void CPlayerDlg::mouseMoveEvent(QMouseEvent* event) {
  if (m_full) ShowFullScreenTransport(true);
  QDialog::mouseMoveEvent(event);
}

bool CPlayerDlg::eventFilter(QObject* watched, QEvent* event) {
  if (m_full && event->type() == QEvent::MouseMove &&
      (watched == m_decoderWidget || watched == m_full->panel))
    ShowFullScreenTransport(true);
  // The read-only path box would take the arrow, Home and End keys from the window's shortcuts;
  // it keeps only copying and selecting all.
  if (watched == m_edtPath && event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->matches(QKeySequence::Copy) && !key->matches(QKeySequence::SelectAll)) return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace ov
