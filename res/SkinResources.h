#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

namespace ov {

// Registers the resource file of res/ (skin pictures and whatever else it lists). Idempotent,
// thread-safe; LoadBitmapResource calls it, so callers only need it for other resources.
void InitSkinResources();

// Resource path of a skin picture, ":/bitmaps/<name>.png" (res/BitmapIds.h names the files); empty
// for an id that names no picture. The id is used as a 16-bit value.
QString BitmapResourcePath(std::uint32_t id);

// Loads a skin picture, 32-bit RGB; a null image when the id names none. Any thread.
QImage LoadBitmapResource(std::uint32_t id);

}  // namespace ov
