#include "ui/FullScreenMode.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "ui/ActivityTimeline.h"
#include "ui/CommandIds.h"
#include "ui/PaneArea.h"
#include "ui/PlayerDlg.h"
#include "ui/StatusTexts.h"
#include "ui/TimelinePanel.h"

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

FullScreenMode::FullScreenMode(CPlayerDlg& window) : m_window(window) {}

FullScreenMode::~FullScreenMode() = default;

void FullScreenMode::Set(bool on) {
  QWidget* video = m_window.Panes().Widget();
  CActivityTimeline* timeline = m_window.TimelinePart().Widget();
  if (m_window.Destroyed() || on == Active() || video == nullptr) return;
  if (on) {
    // The window as it is without the timeline's band: that is what the transport copies.
    m_window.TimelinePart().PlaceBand(0);
    auto full = std::make_unique<State>();
    full->windowGeometry = m_window.geometry();
    for (QObject* child : m_window.children()) {
      auto* w = qobject_cast<QWidget*>(child);
      if (w == nullptr || w->isWindow() || w == timeline) continue;
      const bool inBar = w != video && w->geometry().top() >= kBarTop;
      full->children.push_back({w, w->geometry(), w->isVisible(), inBar});
    }
    const QImage skin = m_window.SkinCanvas().copy(0, kBarTop, CPlayerDlg::kWidth, kBarHeight);
    full->panel = new TransportPanel(skin, &m_window);
    full->panel->installEventFilter(&m_window);
    full->hideTimer.setSingleShot(true);
    full->hideTimer.setInterval(kTransportHideMs);
    QObject::connect(&full->hideTimer, &QTimer::timeout, &m_window, [this] {
      if (!m_state) return;
      // Not while the pointer rests on the transport.
      if (m_state->panel && m_state->panel->isVisible() &&
          m_state->panel->rect().contains(m_state->panel->mapFromGlobal(QCursor::pos()))) {
        m_state->hideTimer.start();
        return;
      }
      ShowTransport(false);
    });
    m_state = std::move(full);
    video->setMouseTracking(true);
    video->installEventFilter(&m_window);
    m_window.setMouseTracking(true);
    m_window.clearMask();
    m_window.setMinimumSize(0, 0);
    m_window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    for (const auto& s : m_state->children)
      if (s.widget && !s.inBar && s.widget != video) s.widget->hide();
    m_window.showFullScreen();
    Layout();
    ShowTransport(false);
    m_window.activateWindow();
    return;
  }

  std::unique_ptr<State> full = std::move(m_state);
  full->hideTimer.stop();
  delete full->panel;
  video->removeEventFilter(&m_window);
  video->setMouseTracking(false);
  m_window.setMouseTracking(false);
  m_window.showNormal();
  m_window.setFixedSize(CPlayerDlg::kWidth, CPlayerDlg::kHeight);
  m_window.setGeometry(full->windowGeometry);
  for (const auto& s : full->children) {
    if (!s.widget) continue;
    s.widget->setGeometry(s.geometry);
    s.widget->setVisible(s.visible);
  }
  video->raise();
  m_window.CentreOnScreen();
  m_window.TimelinePart().Place();
  m_window.update();
}

void FullScreenMode::Layout() {
  if (!m_state) return;
  QWidget* video = m_window.Panes().Widget();
  CActivityTimeline* timeline = m_window.TimelinePart().Widget();
  const int width = m_window.width(), height = m_window.height();
  // The timeline runs along the bottom of the screen, under the picture and the transport.
  const int band = m_window.TimelinePart().Shown() && timeline ? CActivityTimeline::kBandHeight : 0;
  if (timeline) {
    timeline->setGeometry(0, height - band, width, band);
    timeline->setVisible(band > 0);
    if (band > 0) timeline->raise();
  }
  video->setGeometry(0, 0, width, height - band);
  video->lower();
  const int dx = (width - CPlayerDlg::kWidth) / 2;
  const int dy = height - band - CPlayerDlg::kHeight;
  if (m_state->panel) {
    m_state->panel->setGeometry(0, height - band - kBarHeight, width, kBarHeight);
    m_state->panel->raise();
  }
  for (const auto& s : m_state->children) {
    if (!s.widget || !s.inBar) continue;
    s.widget->setGeometry(s.geometry.translated(dx, dy));
    s.widget->raise();
  }
}

void FullScreenMode::ShowTransport(bool shown) {
  if (!m_state) return;
  m_state->transportShown = shown;
  if (m_state->panel) m_state->panel->setVisible(shown);
  for (const auto& s : m_state->children)
    if (s.widget && s.inBar) s.widget->setVisible(shown && s.visible);
  if (shown) m_state->hideTimer.start();
  // The keys stay with the window whatever was clicked on the transport.
  if (!shown && m_window.focusWidget() != nullptr) m_window.setFocus();
}

void FullScreenMode::Filter(QObject* watched, QEvent* event) {
  if (m_state && event->type() == QEvent::MouseMove &&
      (watched == m_window.Panes().Widget() || watched == m_state->panel))
    ShowTransport(true);
}

}  // namespace ov
