#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>

namespace ov::skin {

// Colours of the dark skin, shared with the window's own painting.
inline const QColor kTitleBand{57, 57, 57};
inline const QColor kPanel{100, 100, 100};
inline const QColor kAccent{35, 205, 246};
inline const QColor kAccentText{0, 192, 255};
inline const QColor kLowerBand{225, 225, 225};

// Colour of row y (0..47) of the transport bar strip, so buttons drawn on it blend in.
QColor StripColour(int y);

// Draws the picture of one skin id at its control's pixel size; a null image for unknown ids.
QImage DrawSkinBitmap(std::uint32_t id);

}  // namespace ov::skin
