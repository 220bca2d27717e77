#pragma once
// Geometry of the pane grid: pure functions shared by the painting and the decoders.
#include <QPoint>
#include <QRect>
#include <QSize>

namespace ov::pane {

// 1, 4, 9 or 16: other counts round up to the next square grid we offer (and at most 16).
int NormaliseCount(int paneCount);
int Columns(int paneCount);
// Pane index of the square grid covering area; panes tile area exactly, row by row.
QRect PaneRect(QSize area, int paneCount, int index);
// The part of a pane pictures are drawn in: the whole pane. The grid lines are drawn over the
// pictures' edges, so a picture the size of its pane converts without scaling (several times
// cheaper than any scaling).
QRect ContentRect(QSize area, int paneCount, int index);
// Pane under p, or -1.
int PaneAt(QSize area, int paneCount, QPoint p);
// Largest size of the given aspect ratio (width / height) that fits box; empty for an empty box.
QSize FitSize(QSize box, double aspect);
// A rectangle of size centred in box.
QRect Centred(QRect box, QSize size);

}  // namespace ov::pane
