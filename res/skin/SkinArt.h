#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>

#include "res/SkinPalette.h"

namespace ov::skin {

// Colour of row y (0..47) of the transport bar strip, so buttons drawn on it blend in.
QColor StripColour(int y);

// Draws the picture of one skin id at its control's pixel size; a null image for unknown ids.
QImage DrawSkinBitmap(std::uint32_t id);

}  // namespace ov::skin
