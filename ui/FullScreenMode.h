#pragma once
// Full screen: the decoder control fills the screen (it scales its panes, keeping each picture's
// aspect), and the window's own transport row is laid over the bottom of the picture while the
// mouse moves. Keeps every child's place, so leaving puts the window back exactly.
//
// Threads: the window thread.
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

class QEvent;
class QObject;

namespace ov {

class CPlayerDlg;

class FullScreenMode {
 public:
  explicit FullScreenMode(CPlayerDlg& window);
  ~FullScreenMode();

  void Set(bool on);
  bool Active() const { return m_state != nullptr; }
  bool TransportShown() const { return m_state && m_state->transportShown; }
  // Places the picture, the timeline and the transport over the screen the window now fills.
  void Layout();
  void ShowTransport(bool shown);
  // The window's event filter: a mouse move over the picture or the transport shows the latter.
  void Filter(QObject* watched, QEvent* event);

 private:
  struct State {
    struct Saved {
      QPointer<QWidget> widget;
      QRect geometry;
      bool visible = false;
      bool inBar = false;  // part of the transport shown over the picture
    };
    std::vector<Saved> children;
    QRect windowGeometry;
    QPointer<QWidget> panel;  // the transport's background, above the video
    QTimer hideTimer;
    bool transportShown = false;
  };

  CPlayerDlg& m_window;
  std::unique_ptr<State> m_state;
};

}  // namespace ov
