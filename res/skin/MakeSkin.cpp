// Writes every skin picture as <dir>/<name>.png.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "res/BitmapIds.h"
#include "res/skin/SkinArt.h"

int main(int argc, char** argv) {
  // Drawing needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: ov_make_skin <output folder>\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.exists() && !QDir().mkpath(dir.path())) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  int failures = 0;
  for (const ov::SkinPicture& picture : ov::kSkinPictures) {
    const QImage img = ov::skin::DrawSkinBitmap(picture.id);
    const QString path =
        dir.filePath(QStringLiteral("%1.png").arg(QString::fromLatin1(picture.name)));
    if (img.isNull() || !img.save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
