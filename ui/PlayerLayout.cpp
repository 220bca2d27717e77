// LayoutControls: every control of the player window at its pixel place, with its pictures.
#include <QComboBox>
#include <QLineEdit>
#include <cstdio>

#include "controls/SkinButton.h"
#include "controls/SkinSlider.h"
#include "controls/VolumeSlider.h"
#include "ui/ButtonLooks.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"
#include "ui/PlayerEngineLink.h"
#include "ui/StatusTextControl.h"
#include "ui/StringTable.h"

namespace ov {

void CPlayerDlg::PlaceButton(int id, int x, int y, int w, int h, const ButtonLook& look) {
  CSkinButton* b = Button(id);
  if (b == nullptr) return;
  b->setGeometry(x, y, w, h);
  b->SetBitmaps(look.normal, look.pressed, look.hover, look.checkOn, 0, 0, 0, 1, 1, 4);
  b->Invalidate();
}

void CPlayerDlg::LayoutControls() {
  constexpr int W = kVideoWidth;
  const int T = m_nBarTop;
  PlaceButton(idc::kPlay, W / 2, T + 3, 43, 48, kPlayLook);
  PlaceButton(idc::kBack59, W / 2 - 36, T + 3, 36, 48, kBackLook);
  PlaceButton(idc::kRew, W / 2 - 72, T + 3, 36, 48, kRewLook);
  PlaceButton(idc::kForward59, W / 2 + 43, T + 3, 36, 48, kForwardLook);
  PlaceButton(idc::kFF, W / 2 + 79, T + 3, 36, 48, kFFLook);
  // Only ff is a tool of the tooltip control; its tips are kept but never shown.
  m_toolTips[idc::kFF] = LoadResString(IDS_FF_TIP);
  m_sldVolume->setGeometry(W - 100, T + 20, 115, 14);
  PlaceButton(idc::kSpeakerMin, W - 114, T + 20, 14, 15, kSpeakerLook);
  PlaceButton(idc::kSpeakerMax, W - 5, T + 20, 14, 15, kSpeakerLook);
  PlaceButton(idc::kMinimize, W - 21, 3, 19, 19, kMinimizeLook);
  PlaceButton(idc::kMaximize, W - 21, 3, 19, 19, kMaximizeLook);
  PlaceButton(idc::kExit, W - 2, 3, 19, 19, kCloseLook);
  m_decoderWidget->setGeometry(15, 30, 704, 576);
  m_decoderWidget->raise();
  m_decoderWidget->show();
  m_sldSeek->setGeometry(10, 694, 713, 20);
  m_engine->SetDisplayModeReady();
  m_edtPath->setGeometry(25, 724, 628, 15);
  PlaceButton(idc::kFileOpen, 659, T + 80, 53, 22, kFileOpenLook);

  Status(idc::kOsd)->setGeometry(270, 606, 180, 14);
  Status(idc::kOsd)->SetText({});
  Status(idc::kSpeed)->setGeometry(195, 606, 80, 14);
  Status(idc::kSpeed)->SetText({});
  Status(idc::kTotalTime)->setGeometry(24, 662, 129, 15);
  Status(idc::kTotalTime)->SetText(QString::fromStdString(m_engine->TotalTimeText()));
  Status(idc::kName)->setGeometry(35, 6, 62, 15);
  Status(idc::kName)->SetText(QString::fromUtf8(LoadResString(IDS_PRODUCT)));
  Status(idc::kVer)->setGeometry(660, 608, 50, 15);
  Status(idc::kVer)->SetText(QStringLiteral("Ver 0.0.1"));
  Status(idc::kSearching)->setGeometry(470, 606, 66, 14);
  Status(idc::kSearching)->hide();

  const struct {
    int id, x;
    ButtonLook look;
  } panes[] = {{idc::kCh1, 641, kCh1Look},
               {idc::kCh4, 661, kCh4Look},
               {idc::kCh9, 681, kCh9Look},
               {idc::kCh16, 701, kCh16Look}};
  for (const auto& p : panes) PlaceButton(p.id, p.x, T - 19, 19, 19, p.look);
}

}  // namespace ov
