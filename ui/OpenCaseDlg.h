#pragma once
// "Open Case...": the files of a case catalog listed by recorder and day, one of these sets chosen
// to open. Window thread only.
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "catalog/Query.h"

class QPushButton;
class QTreeWidget;

namespace ov {

class IUserPrompts;

class COpenCaseDlg : public QDialog {
  Q_OBJECT

 public:
  COpenCaseDlg(QWidget* parent, const QString& catalogName, std::vector<catalog::CaseSet> sets);
  // The set selected now (a day under a recorder), or nothing.
  std::optional<catalog::CaseSet> Chosen() const;
  QTreeWidget* Tree() const { return m_tree; }
  QPushButton* OpenButton() const { return m_open; }

 private:
  std::vector<catalog::CaseSet> m_sets;
  QTreeWidget* m_tree;
  QPushButton* m_open;
};

// Asks for a catalog, lists its sets and returns the chosen set's files in time order; nothing
// when the user cancels, or when the catalog cannot be read (after saying why).
std::optional<std::vector<std::string>> ChooseCaseSet(QWidget* owner, IUserPrompts& prompts);

}  // namespace ov
