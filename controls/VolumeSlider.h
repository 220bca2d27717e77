#pragma once

#include <QColor>
#include <QSlider>

#include "controls/SlideMove.h"
#include "controls/WinRect.h"

class QPainter;

namespace ov {

// The volume slider: keeps its own level and range (QSlider's value is a hidden position that
// only the keys move) and paints itself completely. While the left button is held
// the level follows the pointer. A vertical slider (orientation Qt::Vertical) grows downward.
//
// Notifications: after every left button release scrollNotify(ControlId(), SlideMove::Ended,
// value()) is emitted directly, once the level has been set from the release point, so the
// handler reads the final GetLevel(). Keys report their SlideMove, and Ended on release.
//
// Threads: window thread only.
class CVolumeSlider : public QSlider {
  Q_OBJECT

 public:
  explicit CVolumeSlider(int controlId = 0, QWidget* parent = nullptr);
  ~CVolumeSlider() override;

  int ControlId() const { return m_ControlId; }
  void SetControlId(int id) { m_ControlId = id; }

  // Stores the range; neither repaints nor adjusts the level. Returns true.
  bool SetLevelRange(int min, int max);
  // v is the offset above the minimum; refused (false) above the span.
  bool SetLevel(int v);
  // Minimum plus level.
  int GetLevel() const { return m_RangeMin + m_Level; }
  // Sets the level from a client point; a control too narrow for its margins leaves it alone.
  void LevelFromPoint(int x, int y);

  int RangeMax() const { return m_RangeMax; }
  bool IsTracking() const { return m_Tracking; }
  bool IsOverThumb() const { return m_OverThumb; }
  // The thumb as the last paint placed it (exclusive right and bottom).
  WinRect ThumbRect() const { return m_ThumbRect; }

  QColor m_FaceColour{169, 169, 169};
  QColor m_ShadeColour{65, 65, 65};

 signals:
  void scrollNotify(int controlId, ov::SlideMove move, int pos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void PaintHorizontal(QPainter& p, const WinRect& client);
  void PaintVertical(QPainter& p, const WinRect& client);
  float Fraction() const;

  int m_ControlId;
  bool m_Tracking = false;
  bool m_OverThumb = false;
  bool m_Vertical = false;
  int m_Level = 50;
  WinRect m_ThumbRect;
  int m_RangeMax = 100;
  int m_RangeMin = 0;
  int m_RangeSpan = 100;
};

}  // namespace ov
