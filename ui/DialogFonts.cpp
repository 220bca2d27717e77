#include "ui/DialogFonts.h"

#include <QFontMetrics>

namespace ov {

QFont DialogFont() {
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(12);
  // Whole-pixel advances: the status controls are sized to their texts in whole pixels.
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

QFont BoldFontWithCellHeight(int cellHeight) {
  QFont f(QStringLiteral("Arial"));
  f.setWeight(QFont::Bold);
  for (int px = cellHeight; px > 4; --px) {
    f.setPixelSize(px);
    if (QFontMetrics(f).height() <= cellHeight) break;
  }
  return f;
}

}  // namespace ov
