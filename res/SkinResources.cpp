#include "res/SkinResources.h"

#include <QFile>
#include <mutex>

#include "res/BitmapIds.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitSkinQrc() { Q_INIT_RESOURCE(skin); }

namespace ov {

void InitSkinResources() {
  // The resource file sits in a static library, so nothing else would pull its registration in.
  static std::once_flag once;
  std::call_once(once, InitSkinQrc);
}

QString BitmapResourcePath(std::uint32_t id) {
  const char* name = SkinPictureName(id);
  if (name == nullptr) return {};
  return QStringLiteral(":/bitmaps/%1.png").arg(QString::fromLatin1(name));
}

QImage LoadBitmapResource(std::uint32_t id) {
  InitSkinResources();
  if ((id & 0xFFFFu) == 0) return QImage();
  const QString path = BitmapResourcePath(id);
  if (path.isEmpty() || !QFile::exists(path)) return QImage();
  QImage image(path);
  if (image.isNull()) return image;
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace ov
