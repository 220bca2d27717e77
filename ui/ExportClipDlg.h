#pragma once
// "Export Clip...": channels, range, folder and format, then the export on a worker thread with a
// progress bar and Cancel. Playback goes on meanwhile: the export reads the file on its own.
//
// Threads: the dialog lives on the window thread; the worker only posts progress and the outcome
// back to it. Closing or destroying the dialog cancels a running export and waits for it.
#include <QDialog>
#include <QString>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "export/ClipExport.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace ov {

struct ExportChannelChoice {
  int channel = 0;  // 1..16
  QString name;
  bool checked = false;
};

class CExportClipDlg : public QDialog {
  Q_OBJECT

 public:
  CExportClipDlg(QWidget* parent, std::string source,
                 const std::vector<ExportChannelChoice>& channels, const QString& from,
                 const QString& to, const QString& folder);
  ~CExportClipDlg() override;

  QString Folder() const;
  // The clips come from this recording set (null: from the one file named at construction).
  void SetRecordingSet(std::shared_ptr<const RecordingSetPlan> set) { m_set = std::move(set); }
  // Starts the export of what the dialog shows (the Export button); false when it cannot start.
  bool StartExport();
  bool Running() const { return m_worker.joinable() && !m_done; }
  QString StatusText() const;
  int ProgressPercent() const;
  const exporter::ExportOutcome& Outcome() const { return m_outcome; }

  // Widgets, for tests.
  QListWidget* Channels() const { return m_channels; }
  QLineEdit* FromEdit() const { return m_from; }
  QLineEdit* ToEdit() const { return m_to; }
  QLineEdit* FolderEdit() const { return m_folder; }

  // Close and Esc: a running export is cancelled first and the dialog stays to say so.
  void reject() override;

 protected:
  // The source's digest is taken from the moment the dialog shows, while the user picks.
  void showEvent(QShowEvent* event) override;

 signals:
  void exportFinished(bool ok);

 private:
  void StartWorker(const exporter::ExportRequest& r);
  void Finished(exporter::ExportOutcome outcome);
  void JoinWorker();

  std::string m_source;
  std::shared_ptr<const RecordingSetPlan> m_set;
  QListWidget* m_channels = nullptr;
  QLineEdit* m_from = nullptr;
  QLineEdit* m_to = nullptr;
  QLineEdit* m_folder = nullptr;
  QComboBox* m_format = nullptr;
  QProgressBar* m_progress = nullptr;
  QLabel* m_status = nullptr;
  QPushButton* m_export = nullptr;
  QPushButton* m_close = nullptr;
  std::shared_ptr<exporter::DigestAhead> m_ahead;  // declared before the worker that may use it
  std::thread m_worker;
  std::atomic<bool> m_cancel{false};
  bool m_done = false;
  exporter::ExportOutcome m_outcome;
};

}  // namespace ov
