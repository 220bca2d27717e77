#pragma once
// "Save Snapshot" and "Save View": the selected pane's picture as PNG, found and written on a
// worker thread so the window stays responsive over a damaged file. One at a time.
//
// Threads: the window thread; the worker reads the recording through descriptors of its own and
// reports through the note, which runs on the window thread.
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace ov {

class PlaybackEngine;
class CQuelmar_Ctrl_Player;
struct RecordingSetPlan;

class SnapshotSaver {
 public:
  // context: the window the note is delivered on; note: shows where a picture went, or why not.
  SnapshotSaver(QObject* context, std::function<void(const QString&)> note);
  // Stops a save and waits for it.
  ~SnapshotSaver();

  // Starts saving the picture of the selected pane (asShown: as the pane shows it, zoom,
  // adjustments and deinterlacing included, named "..._view.png") in folder, else beside the
  // recording when that is writable, else home. Returns the path it goes to; empty when none was
  // started (no file, or one still being saved).
  // set: the recording set open now (its files are read again by the worker), or null.
  std::string Save(PlaybackEngine& engine, CQuelmar_Ctrl_Player& decoder, const QString& folder,
                   bool asShown, std::shared_ptr<const RecordingSetPlan> set);
  // True from a save's start to its note.
  bool Saving() const { return m_saving; }
  void Cancel() { m_cancel = true; }
  // Waits for the worker to end; its note still comes through the event loop.
  void Wait();

 private:
  QObject* m_context;
  std::function<void(const QString&)> m_note;
  std::thread m_thread;
  std::atomic<bool> m_cancel{false};
  bool m_saving = false;
};

}  // namespace ov
