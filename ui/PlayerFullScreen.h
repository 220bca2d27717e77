#pragma once
// What the player window keeps while its video area fills the screen: every child's place, so
// leaving puts the window back exactly, and the panel under the transport.
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "ui/PlayerDlg.h"

namespace ov {

struct CPlayerDlg::FullScreenState {
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

}  // namespace ov
