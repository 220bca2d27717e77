#pragma once

#include <QColor>
#include <QSlider>

#include "controls/SlideMove.h"
#include "controls/WinRect.h"
#include "res/SkinPalette.h"

namespace ov {

// The seek slider: QSlider keeps range and position; this class draws the channel and thumb
// itself and replaces the mouse handling. A press anywhere jumps the thumb to the pointer and a
// drag moves it; each change is posted to scrollNotify.
//
// Notifications (scrollNotify, queued, so they arrive after the mouse handler returns, in order;
// pos is the position when posted): for one press-drag-release ThumbDragged on the press if the
// thumb jumped, ThumbDragged for every move that changed the position, on release Ended if the
// release point moved it once more, then ThumbReleased if the position changed at any time during
// the press. A slider without a parent widget posts nothing. Keys are handled by QSlider and
// report their SlideMove, then Ended when the key is released.
//
// The background is the palette's Window colour, RGB(57, 57, 57) unless the window sets another.
//
// Threads: window thread only, except PostSetPos.
class CSkinSlider : public QSlider {
  Q_OBJECT

 public:
  explicit CSkinSlider(int controlId = 0, QWidget* parent = nullptr);
  ~CSkinSlider() override;

  int ControlId() const { return m_ControlId; }
  void SetControlId(int id) { m_ControlId = id; }

  // 1 once a left button release arrived, 0 again from the next press.
  int IsButtonUp() const { return m_ButtonUp; }
  bool IsDragging() const { return m_Dragging; }

  // Sets the position from a client point; true if it changed. A channel of zero width leaves
  // the position alone.
  bool SetPosFromPoint(QPoint p);
  // Posts scrollNotify(ControlId(), move, value()).
  void NotifyParent(SlideMove move);

  // Sets the position from any thread (queued to the window thread when called elsewhere).
  void PostSetPos(int pos);

  // Geometry of the drawn parts for the current size and position.
  WinRect ChannelRect() const;
  WinRect ThumbRect() const;

  // Paint the channel interior in m_TrackColour; the window sets it once a file is open.
  bool m_TrackFilled = false;

  QColor m_ThumbEdgeColour = skin::kTitleBand;
  QColor m_TrackColour = skin::kAccent;
  QColor m_ThumbColour = skin::kPanel;
  QColor m_DragColour{180, 180, 180};

 signals:
  void scrollNotify(int controlId, ov::SlideMove move, int pos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  // The wheel would move the thumb without a position notification, so the slider would show a
  // place that is not being played: it is passed on to the parent instead.
  void wheelEvent(QWheelEvent* event) override;

 private:
  int m_ControlId;
  int m_ButtonUp = 0;
  bool m_Dragging = false;
  bool m_MovedInDrag = false;
};

}  // namespace ov
