// Every text marked for translation in the sources has a finished translation, with the same
// placeholders, in each language the program ships. The marked texts are collected by running
// lupdate over the sources, so a text added without refreshing the .ts files fails here.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace {

struct Entry {
  QString translation;
  bool finished = false;
};
using Catalogue = std::map<std::pair<QString, QString>, Entry>;  // (context, source)

Catalogue Read(const QString& path) {
  Catalogue out;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return out;
  QXmlStreamReader xml(&f);
  QString context, source;
  Entry entry;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) {
      if (xml.isEndElement() && xml.name() == QLatin1String("message"))
        out[{context, source}] = entry;
      continue;
    }
    if (xml.name() == QLatin1String("name")) {
      context = xml.readElementText();
    } else if (xml.name() == QLatin1String("message")) {
      source.clear();
      entry = {};
    } else if (xml.name() == QLatin1String("source")) {
      source = xml.readElementText();
    } else if (xml.name() == QLatin1String("translation")) {
      const QString type = xml.attributes().value(QLatin1String("type")).toString();
      // A plural text holds one <numerusform> per form; every form needs a translation.
      bool allForms = true;
      while (xml.readNext() != QXmlStreamReader::EndElement ||
             xml.name() != QLatin1String("translation")) {
        if (xml.atEnd()) break;
        if (xml.isCharacters()) entry.translation += xml.text();
        if (xml.isStartElement() && xml.name() == QLatin1String("numerusform")) {
          const QString form = xml.readElementText();
          allForms = allForms && !form.isEmpty();
          entry.translation += form;
        }
      }
      entry.translation = entry.translation.trimmed();
      entry.finished = type.isEmpty() && allForms && !entry.translation.isEmpty();
    }
  }
  EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
  return out;
}

QSet<QString> Placeholders(const QString& text) {
  QSet<QString> out;
  static const QRegularExpression re(QStringLiteral("%[1-9]"));
  for (auto it = re.globalMatch(text); it.hasNext();) out.insert(it.next().captured());
  return out;
}

// The texts the sources mark today, as lupdate finds them.
Catalogue MarkedInSources() {
  const std::filesystem::path dir =
      std::filesystem::path(std::getenv("OV_TEST_TMP") ? std::getenv("OV_TEST_TMP") : "/tmp") /
      "i18n";
  std::filesystem::create_directories(dir);
  const QString probe = QString::fromStdString((dir / "probe.ts").string());
  QFile::remove(probe);
  QProcess p;
  p.setWorkingDirectory(QStringLiteral(OV_SOURCE_DIR));
  QStringList args = QString::fromUtf8(OV_LUPDATE_ARGS).split(QLatin1Char('|'), Qt::SkipEmptyParts);
  args << QStringLiteral("-ts") << probe;
  p.start(QStringLiteral(OV_LUPDATE), args);
  EXPECT_TRUE(p.waitForFinished(120000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  return Read(probe);
}

TEST(Translations, EveryMarkedTextIsTranslatedInEveryLanguage) {
  const Catalogue marked = MarkedInSources();
  ASSERT_GT(marked.size(), 100u);  // lupdate found the sources
  for (const char* lang : {"de", "es", "zh_CN"}) {
    SCOPED_TRACE(lang);
    const Catalogue ts = Read(
        QStringLiteral(OV_SOURCE_DIR "/res/translations/ostravue_%1.ts").arg(QLatin1String(lang)));
    for (const auto& [key, unused] : marked) {
      const auto it = ts.find(key);
      const std::string where = key.first.toStdString() + ": \"" + key.second.toStdString() + "\"";
      if (it == ts.end()) {
        ADD_FAILURE() << "not in the .ts file (run the ov_update_translations target): " << where;
        continue;
      }
      EXPECT_TRUE(it->second.finished) << "no finished translation: " << where;
      // A translation that drops or invents a placeholder shows a wrong value or a raw "%2".
      EXPECT_EQ(Placeholders(it->second.translation), Placeholders(key.second))
          << where << " -> \"" << it->second.translation.toStdString() << "\"";
    }
    // Texts the sources no longer mark are left-overs of an old lupdate run.
    for (const auto& [key, entry] : ts)
      EXPECT_TRUE(marked.count(key)) << "no longer in the sources: " << key.first.toStdString()
                                     << ": \"" << key.second.toStdString() << "\"";
  }
}

}  // namespace
