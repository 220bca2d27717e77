#include "ui/QtUserPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "ui/StringTable.h"

namespace ov {

void QtUserPrompts::ShowMessage(QWidget* owner, const MessageRequest& request) {
  // Untitled messages carry the product's name, not the executable's.
  QString caption = request.caption.empty() ? QString::fromUtf8(LoadResString(IDS_PRODUCT))
                                            : QString::fromStdString(request.caption);
  QMessageBox box(
      request.icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
      caption, QString::fromStdString(request.text), QMessageBox::Ok,
      request.taskModal ? nullptr : owner);
  if (!request.detail.empty()) box.setInformativeText(QString::fromStdString(request.detail));
  if (request.taskModal) box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

std::optional<std::string> QtUserPrompts::ChooseOpenFile(QWidget* /*owner*/,
                                                         const OpenFileRequest& request) {
  // No owner window, as the dialog is its own top-level window.
  QFileDialog dlg(nullptr);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::ExistingFile);
  dlg.setOption(QFileDialog::ReadOnly, false);
  dlg.setNameFilter(QString::fromStdString(request.filter));
  dlg.setDefaultSuffix(QString::fromStdString(request.defaultExt));
  if (!request.initialDir.empty()) dlg.setDirectory(QString::fromStdString(request.initialDir));
  dlg.selectFile(QString::fromStdString(request.initialName));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  return dlg.selectedFiles().front().toStdString();
}

std::vector<std::string> QtUserPrompts::ChooseOpenFiles(QWidget* /*owner*/,
                                                        const OpenFileRequest& request) {
  QFileDialog dlg(nullptr);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(QFileDialog::ExistingFiles);
  dlg.setNameFilter(QString::fromStdString(request.filter));
  dlg.setDefaultSuffix(QString::fromStdString(request.defaultExt));
  if (!request.initialDir.empty()) dlg.setDirectory(QString::fromStdString(request.initialDir));
  std::vector<std::string> paths;
  if (dlg.exec() != QDialog::Accepted) return paths;
  for (const QString& f : dlg.selectedFiles()) paths.push_back(f.toStdString());
  return paths;
}

std::optional<std::string> QtUserPrompts::ChooseFolder(QWidget* owner, const std::string& title,
                                                       const std::string& initial) {
  QString dir = QFileDialog::getExistingDirectory(owner, QString::fromStdString(title),
                                                  QString::fromStdString(initial));
  if (dir.isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(dir).toStdString();
}

std::optional<std::string> QtUserPrompts::AskText(QWidget* owner, const std::string& title,
                                                  const std::string& label,
                                                  const std::string& initial) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(owner, QString::fromStdString(title), QString::fromStdString(label),
                            QLineEdit::Normal, QString::fromStdString(initial), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

}  // namespace ov
