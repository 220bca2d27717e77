#pragma once
// The player window's right-click menu: "I-Frame Only", the "Time format" submenu, "Export
// Clip...", "Save Snapshot", "Keyboard shortcuts", "About...". Every item carries its command id as
// the action's data.
#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace ov {

// Time format value (1..6) of a format command id, or 0 for any other id.
int TimeFormatOfCommand(int commandId);

// A menu showing the current values: "I-Frame Only" checked when iFrameOnly, and the format item
// of timeFormat checked (none for a value outside 1..6).
std::unique_ptr<QMenu> CreatePlayerContextMenu(QWidget* parent, bool iFrameOnly, int timeFormat,
                                               bool timelineShown = false);

// Command id of an action from that menu, or 0.
int CommandOfAction(const QAction* action);

}  // namespace ov
