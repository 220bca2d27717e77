#pragma once
// What a screen reader says for each control of the player window (the skinned buttons show only
// pictures, and their texts are internal names), and a focus mark that follows the keyboard focus
// so Tab shows where it is.
class QWidget;

namespace ov {

class CPlayerDlg;

// Names and describes every control of dlg and installs the focus mark. Called once the controls
// exist.
void MakePlayerAccessible(CPlayerDlg& dlg, QWidget* videoArea);

}  // namespace ov
