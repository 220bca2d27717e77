#pragma once
// The player window's right-click menu: "I-Frame Only", the "Time format" submenu, "Go to
// Time...", the "Zoom" and "Deinterlace" submenus and "Picture Adjustments...", "Export Clip...",
// "Save Snapshot", "Save View", "Open Case...", "Keyboard shortcuts", "About...". Every item
// carries its command id as the action's data.
#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace ov {

// Time format value (1..6) of a format command id, or 0 for any other id.
int TimeFormatOfCommand(int commandId);

// A menu showing the current values: "I-Frame Only" checked when iFrameOnly, and the format item
// of timeFormat checked (none for a value outside 1..6), the timeline's item checked when it is
// shown, and the selected pane's deinterlacing (0 off, 1 on, 2 automatic) checked.
std::unique_ptr<QMenu> CreatePlayerContextMenu(QWidget* parent, bool iFrameOnly, int timeFormat,
                                               bool timelineShown = false, int deinterlace = 0);
// Deinterlacing mode (0..2) of a "Deinterlace" command id, or -1 for any other id.
int DeinterlaceOfCommand(int commandId);

// Command id of an action from that menu, or 0.
int CommandOfAction(const QAction* action);

}  // namespace ov
