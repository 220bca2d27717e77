// The window's part in looking closer: the selected pane's adjustments and deinterlacing, which
// the decoder control applies (zoom keys go straight to it through the command table).
#include <QCoreApplication>

#include "ui/PictureAdjustDlg.h"
#include "ui/PlayerDlg.h"

namespace ov {

void CPlayerDlg::OnPictureAdjust() {
  if (m_destroyed) return;
  PaneViewCall shown;
  const int32_t channel = m_decoder.GetPicture(-1, shown);
  if (channel < 0) return;
  // One dialog at a time; it follows the pane it was opened for.
  if (m_adjustDlg) m_adjustDlg->close();
  const PictureAdjust start{shown.brightness, shown.contrast, shown.gamma, shown.saturation};
  auto* d = new CPictureAdjustDlg(this, channel, start, [this, channel](const PictureAdjust& a) {
    PaneViewCall v;
    if (m_decoder.GetPicture(channel, v) != channel) return;
    v.brightness = a.brightness;
    v.contrast = a.contrast;
    v.gamma = a.gamma;
    v.saturation = a.saturation;
    m_decoder.SetPicture(channel, v);
  });
  d->setAttribute(Qt::WA_DeleteOnClose);
  m_adjustDlg = d;
  d->show();
}

void CPlayerDlg::SetDeinterlace(int mode) {
  if (m_destroyed || mode < 0 || mode > 2) return;
  PaneViewCall v;
  const int32_t channel = m_decoder.GetPicture(-1, v);
  if (channel < 0) return;
  v.deinterlace = mode;
  m_decoder.SetPicture(channel, v);
  static const char* const kNames[] = {QT_TRANSLATE_NOOP("PlayerDlg", "off"),
                                       QT_TRANSLATE_NOOP("PlayerDlg", "on"),
                                       QT_TRANSLATE_NOOP("PlayerDlg", "automatic")};
  ShowNote(QCoreApplication::translate("PlayerDlg", "Deinterlacing of CH %1: %2")
               .arg(channel + 1)
               .arg(QCoreApplication::translate("PlayerDlg", kNames[mode])));
}

}  // namespace ov
