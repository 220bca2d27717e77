#pragma once
// Fonts of the window and the About box, sized in pixels so they look the same at any screen
// resolution setting.
#include <QFont>

namespace ov {

// The dialogs' own font: Arial with 12-pixel characters (9 points on a 96-dpi screen).
QFont DialogFont();
// A bold Arial whose whole line (internal leading included) is at most cellHeight pixels, as a
// font asked for by its cell height would be.
QFont BoldFontWithCellHeight(int cellHeight);

}  // namespace ov
