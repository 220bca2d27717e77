#pragma once
// The pane area of the player window: the decoder control that shows the panes (made by the
// loaded module, or a black stand-in without one), its start settings, and the commands on the
// selected pane: zoom, picture adjustments and deinterlacing.
//
// Threads: the window thread.
#include <QPointer>
#include <cstdint>

#include "decoder/DecoderDispatch.h"
#include "decoder/Quelmar_Ctrl_Player.h"

class QWidget;

namespace ov {

class CPlayerDlg;
class CPictureAdjustDlg;

class PaneArea {
 public:
  PaneArea(CPlayerDlg& window, CQuelmar_Ctrl_Player& decoder);

  // The control from the module (null createControl: the black stand-in), with its events going
  // to events.
  void Create(OvCreateControlFn createControl, IDecoderEvents* events);
  // Titles, texts and start options the control is given once.
  void ConfigureAtStart();
  // Ends the control; its widget goes with the window's other children.
  void Destroy(OvDestroyControlFn destroyControl);

  QWidget* Widget() const { return m_widget; }
  // The channel of the selected pane (-1: none, or no file ready).
  int SelectedSlot();
  // The selected pane's deinterlacing mode (0 off, 1 on, 2 automatic).
  int Deinterlace();

  // step > 0 closer, < 0 farther, 0 back to the whole picture.
  void Zoom(int step);
  // "Picture Adjustments...": one dialog at a time, following the pane it was opened for.
  void OnPictureAdjust();
  void SetDeinterlace(int mode);
  void NextDeinterlace();

 private:
  CPlayerDlg& m_window;
  CQuelmar_Ctrl_Player& m_decoder;
  IDecoderControl* m_control = nullptr;
  QWidget* m_widget = nullptr;
  QPointer<CPictureAdjustDlg> m_adjustDlg;
};

}  // namespace ov
