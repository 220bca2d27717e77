#include "ui/PlayerContextMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>

#include "ui/CommandIds.h"
#include "ui/PlayerKeys.h"

namespace ov {

namespace {
struct FormatItem {
  int command;
  const char* text;
  int value;
};
// Menu order; the ids are not in value order.
constexpr FormatItem kFormats[] = {
    {idc::kCmdFmtYmdDash, "YYYY-MM-DD", 1},  {idc::kCmdFmtMdyDash, "MM-DD-YYYY", 2},
    {idc::kCmdFmtDmyDash, "DD-MM-YYYY", 3},  {idc::kCmdFmtYmdSlash, "YYYY/MM/DD", 4},
    {idc::kCmdFmtMdySlash, "MM/dd/YYYY", 5}, {idc::kCmdFmtDmySlash, "DD/MM/YYYY", 6},
};

QAction* AddCommand(QMenu* menu, int id, const char* text) {
  QAction* a = menu->addAction(QCoreApplication::translate("PlayerContextMenu", text));
  a->setData(id);
  return a;
}
}  // namespace

int TimeFormatOfCommand(int commandId) {
  for (const auto& f : kFormats)
    if (f.command == commandId) return f.value;
  return 0;
}

int CommandOfAction(const QAction* action) {
  if (action == nullptr) return 0;
  bool ok = false;
  int id = action->data().toInt(&ok);
  return ok ? id : 0;
}

int DeinterlaceOfCommand(int commandId) {
  switch (commandId) {
    case idc::kCmdDeintOff:
      return 0;
    case idc::kCmdDeintOn:
      return 1;
    case idc::kCmdDeintAuto:
      return 2;
    default:
      return -1;
  }
}

std::unique_ptr<QMenu> CreatePlayerContextMenu(QWidget* parent, bool iFrameOnly, int timeFormat,
                                               bool timelineShown, int deinterlace) {
  auto menu = std::make_unique<QMenu>(parent);
  AddCommand(menu.get(), idc::kCmdOpenFolder, "Open Folder...");
  menu->addSeparator();
  QAction* iframe = AddCommand(menu.get(), idc::kCmdIFrameOnly, "I-Frame Only");
  iframe->setCheckable(true);
  iframe->setChecked(iFrameOnly);

  QMenu* formats = menu->addMenu(QCoreApplication::translate("PlayerContextMenu", "Time format"));
  for (const auto& f : kFormats) {
    QAction* a = AddCommand(formats, f.command, f.text);
    a->setCheckable(true);
    a->setChecked(f.value == timeFormat);
  }
  AddCommand(menu.get(), idc::kCmdGoToTime, QT_TRANSLATE_NOOP("PlayerContextMenu", "Go to Time..."))
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  menu->addSeparator();
  QAction* timeline = AddCommand(menu.get(), idc::kCmdTimeline,
                                 QT_TRANSLATE_NOOP("PlayerContextMenu", "Activity Timeline"));
  timeline->setCheckable(true);
  timeline->setChecked(timelineShown);
  timeline->setShortcut(QKeySequence(Qt::Key_T));
  AddCommand(menu.get(), idc::kCmdNextEvent, QT_TRANSLATE_NOOP("PlayerContextMenu", "Next Event"))
      ->setShortcut(QKeySequence(Qt::Key_E));
  AddCommand(menu.get(), idc::kCmdPreviousEvent,
             QT_TRANSLATE_NOOP("PlayerContextMenu", "Previous Event"))
      ->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_E));
  menu->addSeparator();
  QMenu* zoom = menu->addMenu(QCoreApplication::translate("PlayerContextMenu", "Zoom"));
  AddCommand(zoom, idc::kCmdZoomIn, QT_TRANSLATE_NOOP("PlayerContextMenu", "Zoom In"))
      ->setShortcut(QKeySequence(QStringLiteral("Alt+=")));
  AddCommand(zoom, idc::kCmdZoomOut, QT_TRANSLATE_NOOP("PlayerContextMenu", "Zoom Out"))
      ->setShortcut(QKeySequence(QStringLiteral("Alt+-")));
  AddCommand(zoom, idc::kCmdZoomReset, QT_TRANSLATE_NOOP("PlayerContextMenu", "Whole Picture"))
      ->setShortcut(QKeySequence(QStringLiteral("Alt+Backspace")));
  AddCommand(menu.get(), idc::kCmdPictureAdjust,
             QT_TRANSLATE_NOOP("PlayerContextMenu", "Picture Adjustments..."))
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
  QMenu* deint = menu->addMenu(QCoreApplication::translate("PlayerContextMenu", "Deinterlace"));
  const struct {
    int id;
    const char* text;
  } modes[] = {
      {idc::kCmdDeintOff, QT_TRANSLATE_NOOP("PlayerContextMenu", "Off")},
      {idc::kCmdDeintOn, QT_TRANSLATE_NOOP("PlayerContextMenu", "On")},
      {idc::kCmdDeintAuto,
       QT_TRANSLATE_NOOP("PlayerContextMenu", "Automatic (as the stream marks its pictures)")}};
  for (const auto& m : modes) {
    QAction* a = AddCommand(deint, m.id, m.text);
    a->setCheckable(true);
    a->setChecked(DeinterlaceOfCommand(m.id) == deinterlace);
  }
  menu->addSeparator();
  AddCommand(menu.get(), idc::kCmdExportClip,
             QT_TRANSLATE_NOOP("PlayerContextMenu", "Export Clip..."));
  AddCommand(menu.get(), idc::kCmdSaveSnapshot,
             QT_TRANSLATE_NOOP("PlayerContextMenu", "Save Snapshot"))
      ->setShortcut(QKeySequence(QString::fromStdString(KeysOf(KeyAction::SaveSnapshot))));
  AddCommand(menu.get(), idc::kCmdSaveView, QT_TRANSLATE_NOOP("PlayerContextMenu", "Save View"))
      ->setShortcut(QKeySequence(QString::fromStdString(KeysOf(KeyAction::SaveView))));
  menu->addSeparator();
  AddCommand(menu.get(), idc::kCmdOpenCase, QT_TRANSLATE_NOOP("PlayerContextMenu", "Open Case..."));
  menu->addSeparator();
  AddCommand(menu.get(), idc::kCmdShortcuts,
             QT_TRANSLATE_NOOP("PlayerContextMenu", "Keyboard shortcuts"));
  AddCommand(menu.get(), idc::kCmdAbout, "About...");
  return menu;
}

}  // namespace ov
