#pragma once
// The player window's skin: its rounded outline and the background composed off screen from flat
// colours, pens and the bar strip, then copied to the window in one block. Window thread only.
#include <QFont>
#include <QImage>
#include <QRegion>

#include "controls/WinRect.h"

class QPainter;

namespace ov {

struct SkinGeometry {
  int width = 0;
  int height = 0;
  WinRect video;    // the decoder control in client coordinates
  WinRect pathBox;  // control 1009 in client coordinates
  // The activity timeline's band under the seek slider's row (0: hidden); the path row moves
  // down by as much.
  int timelineHeight = 0;
};

struct SkinBitmaps {
  QImage barStrip;  // 2 x 48
  QImage timeLine;  // 45 x 9
  QImage fileName;  // 47 x 9
};

// Window shape: a 14 x 14 rounded rectangle over (0, 0, w + 1, h + 1).
QRegion SkinWindowRegion(int width, int height);

// Top of the control bar for a video area: 38 pixels below it.
inline int SkinBarTop(const WinRect& video) { return video.bottom + 38; }

// The background without the product name (everything the off-screen canvas holds). The video
// area is left as the canvas's first fill leaves it: the control paints over it.
QImage ComposeSkinCanvas(const SkinGeometry& g, const SkinBitmaps& bitmaps);

// Copies the canvas to p at (0, 0) and draws the product name over it in white.
void PaintSkin(QPainter& p, const SkinGeometry& g, const SkinBitmaps& bitmaps,
               const QFont& titleFont);

}  // namespace ov
