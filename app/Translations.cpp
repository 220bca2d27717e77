#include "app/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

namespace ov {

QString InstallTranslations(QCoreApplication& app) {
  const QLocale locale;
  const QString bin = QCoreApplication::applicationDirPath();
  auto* own = new QTranslator(&app);
  bool loaded = false;
  for (const QString& dir : {bin + QStringLiteral("/translations"),
                             bin + QStringLiteral("/../share/ostravue/translations")})
    if (own->load(locale, QStringLiteral("ostravue"), QStringLiteral("_"), QDir::cleanPath(dir))) {
      loaded = true;
      break;
    }
  if (!loaded) {
    delete own;
    return {};
  }
  QCoreApplication::installTranslator(own);
  // Qt's own texts (the help's headings, the standard dialogs' buttons) in the same language.
  auto* qt = new QTranslator(&app);
  if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qt);
  else
    delete qt;
  return own->language();
}

}  // namespace ov
