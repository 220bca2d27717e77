#include "ui/PlayerAccessibility.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QPointer>

#include "res/SkinPalette.h"
#include "ui/CommandIds.h"
#include "ui/PlayerDlg.h"

namespace ov {

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("PlayerAccessibility", text); }

struct Naming {
  int id;
  const char* name;
  const char* description;
};

// Every control of the window; the descriptions name the keys that do the same.
constexpr Naming kNames[] = {
    {idc::kPlay, QT_TRANSLATE_NOOP("PlayerAccessibility", "Play or pause"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Starts or pauses playback. Keys: Space or K.")},
    {idc::kRew, QT_TRANSLATE_NOOP("PlayerAccessibility", "Rewind"),
     QT_TRANSLATE_NOOP("PlayerAccessibility",
                       "Plays backwards; each press the next speed. Key: [")},
    {idc::kFF, QT_TRANSLATE_NOOP("PlayerAccessibility", "Fast forward"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Plays faster; each press the next speed. Key: ]")},
    {idc::kBack59, QT_TRANSLATE_NOOP("PlayerAccessibility", "59 seconds back"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Jumps 59 seconds backwards. Key: Down.")},
    {idc::kForward59, QT_TRANSLATE_NOOP("PlayerAccessibility", "59 seconds forward"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Jumps 59 seconds forwards. Key: Up.")},
    {idc::kFileOpen, QT_TRANSLATE_NOOP("PlayerAccessibility", "Open file"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Chooses a backup file to play. Key: Ctrl+O.")},
    {idc::kSpeakerMin, QT_TRANSLATE_NOOP("PlayerAccessibility", "Sound on or off"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Turns the sound off or on again. Key: M.")},
    {idc::kSpeakerMax, QT_TRANSLATE_NOOP("PlayerAccessibility", "Sound"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Turns the sound on.")},
    {idc::kMaximize, QT_TRANSLATE_NOOP("PlayerAccessibility", "Maximize"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Makes the window as large as the screen.")},
    {idc::kMinimize, QT_TRANSLATE_NOOP("PlayerAccessibility", "Minimize"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Hides the window in the task bar.")},
    {idc::kExit, QT_TRANSLATE_NOOP("PlayerAccessibility", "Quit"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Ends the program. Keys: Q or Ctrl+Q.")},
    {idc::kCh1, QT_TRANSLATE_NOOP("PlayerAccessibility", "1 pane"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Shows the selected camera alone. Key: 1.")},
    {idc::kCh4, QT_TRANSLATE_NOOP("PlayerAccessibility", "4 panes"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Shows four cameras. Key: 2.")},
    {idc::kCh9, QT_TRANSLATE_NOOP("PlayerAccessibility", "9 panes"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Shows nine cameras. Key: 3.")},
    {idc::kCh16, QT_TRANSLATE_NOOP("PlayerAccessibility", "16 panes"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Shows sixteen cameras. Key: 4.")},
    {idc::kVolume, QT_TRANSLATE_NOOP("PlayerAccessibility", "Volume"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Sound volume, 0 to 15. Keys: 0 up, 9 down.")},
    {idc::kSeek, QT_TRANSLATE_NOOP("PlayerAccessibility", "Position"),
     QT_TRANSLATE_NOOP("PlayerAccessibility",
                       "The second of the recording being played. Keys: Left and Right 5 "
                       "seconds, Home, End, Ctrl+G.")},
    {idc::kPathBox, QT_TRANSLATE_NOOP("PlayerAccessibility", "File"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "The path of the open backup file.")},
    {idc::kStorageCombo, QT_TRANSLATE_NOOP("PlayerAccessibility", "Recording"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "The recordings of a recorder storage folder.")},
    {idc::kOpenYrxFile, QT_TRANSLATE_NOOP("PlayerAccessibility", "Open storage folder"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Opens a recorder storage folder.")},
    {idc::kMakeChdFile, QT_TRANSLATE_NOOP("PlayerAccessibility", "Make channel files"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Builds channel files from the storage folder.")},
    {idc::kCombineFiles, QT_TRANSLATE_NOOP("PlayerAccessibility", "Combine files"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Combines channel files.")},
    {idc::kOsd, QT_TRANSLATE_NOOP("PlayerAccessibility", "Recording time"),
     QT_TRANSLATE_NOOP("PlayerAccessibility",
                       "Date and time of the second being played. Double click: full screen.")},
    {idc::kSpeed, QT_TRANSLATE_NOOP("PlayerAccessibility", "Speed"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "The rewind or fast-forward speed.")},
    {idc::kVer, QT_TRANSLATE_NOOP("PlayerAccessibility", "Version"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "The program's version.")},
    {idc::kName, QT_TRANSLATE_NOOP("PlayerAccessibility", "Camera name"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "The name of the selected camera.")},
    {idc::kTotalTime, QT_TRANSLATE_NOOP("PlayerAccessibility", "Elapsed and total time"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Time played and the recording's length.")},
    {idc::kSearching, QT_TRANSLATE_NOOP("PlayerAccessibility", "Searching"),
     QT_TRANSLATE_NOOP("PlayerAccessibility", "Shown while a position is looked for.")},
};

// A frame around the control that has the keyboard focus, shown only when the keyboard put it
// there: a click changes nothing in the picture.
class FocusMark : public QWidget {
 public:
  explicit FocusMark(QWidget* window) : QWidget(window) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setObjectName(QStringLiteral("focusMark"));
    hide();
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* w = qobject_cast<QWidget*>(watched);
    if (w == nullptr) return false;
    if (event->type() == QEvent::FocusIn) {
      const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
      if (why == Qt::TabFocusReason || why == Qt::BacktabFocusReason ||
          why == Qt::ShortcutFocusReason) {
        m_target = w;
        Follow();
      }
    } else if (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide) {
      if (w == m_target) hide();
    } else if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
               w == m_target && isVisible()) {
      Follow();
    }
    return false;
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(QPen(skin::kAccentText, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(1, 1, -1, -1));
  }

 private:
  void Follow() {
    if (!m_target || m_target->parentWidget() != parentWidget()) return;
    setGeometry(m_target->geometry().adjusted(-3, -3, 3, 3));
    raise();
    show();
  }
  QPointer<QWidget> m_target;
};

}  // namespace

void MakePlayerAccessible(CPlayerDlg& dlg, QWidget* videoArea) {
  dlg.setAccessibleName(Tr("Ostravue player"));
  dlg.setAccessibleDescription(Tr("Plays the camera channels of a backup file."));
  auto* mark = new FocusMark(&dlg);
  for (const Naming& n : kNames) {
    QWidget* w = dlg.Control(n.id);
    if (w == nullptr) continue;
    w->setAccessibleName(Tr(n.name));
    w->setAccessibleDescription(Tr(n.description));
    w->installEventFilter(mark);
  }
  if (videoArea != nullptr) {
    videoArea->setAccessibleName(Tr("Camera panes"));
    videoArea->setAccessibleDescription(
        Tr("The pictures of the cameras. Click a pane to select its camera; keys 1 to 4 choose "
           "1, 4, 9 or 16 panes, F full screen."));
  }
}

}  // namespace ov
