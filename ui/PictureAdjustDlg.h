#pragma once
// "Picture Adjustments...": brightness, contrast, gamma and saturation of one pane, applied while
// the sliders move, with a reset to the picture as recorded. Modeless: the window stays usable.
#include <QDialog>
#include <array>
#include <functional>

#include "picture/PictureSettings.h"

class QLabel;
class QSlider;

namespace ov {

class CPictureAdjustDlg : public QDialog {
  Q_OBJECT

 public:
  // apply gets every change at once.
  CPictureAdjustDlg(QWidget* parent, int channel, const PictureAdjust& start,
                    std::function<void(const PictureAdjust&)> apply);
  PictureAdjust Values() const;
  int Channel() const { return m_channel; }
  void SetValues(const PictureAdjust& values);
  void Reset() { SetValues(PictureAdjust{}); }

 private:
  void Changed();

  int m_channel;
  std::function<void(const PictureAdjust&)> m_apply;
  std::array<QSlider*, 4> m_sliders{};
  std::array<QLabel*, 4> m_values{};
  bool m_setting = false;
};

}  // namespace ov
