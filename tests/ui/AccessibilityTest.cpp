// What a screen reader finds in the window: every control named in words and described, and a
// focus mark that shows where Tab put the focus.
#include <QAccessible>
#include <QTest>
#include <set>

#include "tests/ui/PlayerDlgFixture.h"

namespace ov {
namespace {

using test::PlayerDlgFixture;

// Walks the accessibility tree as an assistive tool does, collecting what it would read out.
void Walk(QAccessibleInterface* iface, std::vector<QAccessibleInterface*>& out, int depth = 0) {
  if (iface == nullptr || depth > 8) return;
  out.push_back(iface);
  for (int i = 0; i < iface->childCount(); ++i) Walk(iface->child(i), out, depth + 1);
}

TEST_F(PlayerDlgFixture, EveryControlHasANameAndADescriptionInWords) {
  std::vector<QAccessibleInterface*> all;
  Walk(QAccessible::queryAccessibleInterface(dlg.get()), all);
  // The internal texts of the skinned buttons and status fields, which a reader used to say.
  const std::set<QString> internal = {
      "r",   "f",    "ff",       "rew", "SpeakerMin", "SpeakerMax", "CH1",  "CH4",
      "CH9", "CH16", "FileOpen", "OSD", "SPEED",      "VER",        "NAME", "TOTALTIME"};
  const std::set<QAccessible::Role> controls = {QAccessible::Button,       QAccessible::PushButton,
                                                QAccessible::Slider,       QAccessible::StaticText,
                                                QAccessible::EditableText, QAccessible::ComboBox};
  int named = 0;
  for (QAccessibleInterface* a : all) {
    if (a->object() == nullptr || a->object()->objectName() == QStringLiteral("focusMark"))
      continue;
    const QString name = a->text(QAccessible::Name);
    const bool isControl = controls.count(a->role()) != 0;
    if (!isControl && name.isEmpty()) continue;  // decoration: the logo
    EXPECT_FALSE(name.isEmpty()) << "role " << a->role() << " of "
                                 << a->object()->metaObject()->className();
    EXPECT_EQ(internal.count(name), 0u) << name.toStdString();
    EXPECT_FALSE(a->text(QAccessible::Description).isEmpty()) << name.toStdString();
    ++named;
  }
  // The transport, the pane buttons, the sliders, the path, the texts and the video area.
  EXPECT_GE(named, 20);
  for (int id : {1003, 1006, 1016, 1039, 1042, 1024})
    EXPECT_FALSE(dlg->Control(id)->accessibleName().isEmpty()) << id;
}

TEST_F(PlayerDlgFixture, TabShowsWhereTheFocusIs) {
  dlg->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
  auto* mark = dlg->findChild<QWidget*>(QStringLiteral("focusMark"));
  ASSERT_NE(mark, nullptr);
  EXPECT_FALSE(mark->isVisible());
  std::set<QWidget*> visited;
  for (int i = 0; i < 6; ++i) {
    QWidget* from = QApplication::focusWidget() ? QApplication::focusWidget() : dlg.get();
    QTest::keyClick(from, Qt::Key_Tab);
    QApplication::processEvents();
    QWidget* now = QApplication::focusWidget();
    ASSERT_NE(now, nullptr);
    if (now == dlg.get()) continue;
    visited.insert(now);
    EXPECT_TRUE(mark->isVisible()) << now->accessibleName().toStdString();
    EXPECT_TRUE(mark->geometry().contains(now->geometry())) << now->accessibleName().toStdString();
  }
  EXPECT_GE(visited.size(), 3u);  // Tab moves on, every stop marked
}

}  // namespace
}  // namespace ov
