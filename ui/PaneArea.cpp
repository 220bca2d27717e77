#include "ui/PaneArea.h"

#include <QCoreApplication>
#include <cstdio>

#include "ov/Version.h"
#include "ui/PictureAdjustDlg.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"
#include "ui/SelectedChannel.h"
#include "ui/StatusTexts.h"
#include "ui/StringTable.h"

namespace ov {

PaneArea::PaneArea(CPlayerDlg& window, CQuelmar_Ctrl_Player& decoder)
    : m_window(window), m_decoder(decoder) {}

void PaneArea::Create(OvCreateControlFn createControl, IDecoderEvents* events) {
  if (createControl) m_control = createControl(static_cast<QWidget*>(&m_window), events);
  if (m_control != nullptr) m_widget = static_cast<QWidget*>(m_control->Widget());
  if (m_widget == nullptr) {
    // Without a control the area stays black so the window still lays out and paints.
    m_widget = new QWidget(&m_window);
    m_widget->setAutoFillBackground(true);
    QPalette pal = m_widget->palette();
    pal.setColor(QPalette::Window, Qt::black);
    m_widget->setPalette(pal);
  }
  m_decoder.Attach(m_control);
}

void PaneArea::ConfigureAtStart() {
  m_decoder.SetOwnerWindow(static_cast<int32_t>(m_window.winId()));
  char title[20];
  for (int i = 0; i < 16; ++i) {
    std::snprintf(title, sizeof title, "CH-%d", i + 1);
    m_decoder.SetPaneTitle(i, title);
  }
  m_decoder.SetProductText(LoadResString(IDS_PRODUCT));
  m_decoder.SetVersionText("                  Ver " OV_VERSION);
  m_decoder.SetVolume(0);
  for (int index : {3, 2, 1, 0, 4}) m_decoder.SetStartOption(index, 0);
  m_widget->setEnabled(true);
  m_widget->show();
}

void PaneArea::Destroy(OvDestroyControlFn destroyControl) {
  if (m_control != nullptr && destroyControl) destroyControl(m_control);
  m_control = nullptr;
  m_decoder.Attach(nullptr);
  m_widget = nullptr;
}

int PaneArea::SelectedSlot() {
  PlaybackEngine& e = m_window.Engine().Engine();
  if (!e.State().m_FileReady.load()) return -1;
  return SelectedChannel(m_decoder, e.File());
}

int PaneArea::Deinterlace() {
  PaneViewCall shown;
  (void)m_decoder.GetPicture(-1, shown);
  return shown.deinterlace;
}

void PaneArea::Zoom(int step) { m_decoder.ZoomPane(-1, step); }

void PaneArea::NextDeinterlace() {
  PaneViewCall v;
  if (m_decoder.GetPicture(-1, v) < 0) return;
  SetDeinterlace((v.deinterlace + 1) % 3);
}

void PaneArea::OnPictureAdjust() {
  if (m_window.Destroyed()) return;
  PaneViewCall shown;
  const int32_t channel = m_decoder.GetPicture(-1, shown);
  if (channel < 0) return;
  // One dialog at a time; it follows the pane it was opened for.
  if (m_adjustDlg) m_adjustDlg->close();
  const PictureAdjust start{shown.brightness, shown.contrast, shown.gamma, shown.saturation};
  auto* d =
      new CPictureAdjustDlg(&m_window, channel, start, [this, channel](const PictureAdjust& a) {
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

void PaneArea::SetDeinterlace(int mode) {
  if (m_window.Destroyed() || mode < 0 || mode > 2) return;
  PaneViewCall v;
  const int32_t channel = m_decoder.GetPicture(-1, v);
  if (channel < 0) return;
  v.deinterlace = mode;
  m_decoder.SetPicture(channel, v);
  static const char* const kNames[] = {QT_TRANSLATE_NOOP("PlayerDlg", "off"),
                                       QT_TRANSLATE_NOOP("PlayerDlg", "on"),
                                       QT_TRANSLATE_NOOP("PlayerDlg", "automatic")};
  m_window.Texts().ShowNote(QCoreApplication::translate("PlayerDlg", "Deinterlacing of CH %1: %2")
                                .arg(channel + 1)
                                .arg(QCoreApplication::translate("PlayerDlg", kNames[mode])));
}

}  // namespace ov
