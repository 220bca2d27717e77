#pragma once
// The program's translations and Qt's own, chosen from the system locale (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG): from the translations folder beside the program in a build, or the
// installed share/ostravue/translations.
class QCoreApplication;
class QString;

namespace ov {

// Installs them on app (they live as long as it does). Returns the language loaded, empty for
// none (English).
QString InstallTranslations(QCoreApplication& app);

}  // namespace ov
