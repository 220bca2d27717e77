// Renders every skin picture through the real controls, in each state, with both sliders at a
// few levels, into one PNG:  ov_contact_sheet <out.png> [zoom]
#include <QApplication>
#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "controls/SkinButton.h"
#include "controls/SkinSlider.h"
#include "controls/VolumeSlider.h"
#include "res/BitmapIds.h"
#include "res/SkinResources.h"

namespace {

using ov::CSkinButton;

enum class Look { Normal, Hover, Pressed, Disabled };
const char* const kLookNames[] = {"normal", "hover", "pressed", "disabled"};

struct ButtonEntry {
  const char* name;
  int w, h;
  std::uint32_t normal, pressed, hover;
};

QImage GrabButton(const ButtonEntry& entry, Look look) {
  CSkinButton b;
  b.resize(entry.w, entry.h);
  b.SetBitmaps(entry.normal, entry.pressed, entry.hover, entry.pressed, 0, 0, 0, 1, 1, 4);
  switch (look) {
    case Look::Hover: {
      QMouseEvent move(QEvent::MouseMove, QPointF(entry.w / 2.0, entry.h / 2.0),
                       QPointF(entry.w / 2.0, entry.h / 2.0), Qt::NoButton, Qt::NoButton, {});
      QApplication::sendEvent(&b, &move);
      break;
    }
    case Look::Pressed:
      b.setDown(true);
      break;
    case Look::Disabled:
      b.setEnabled(false);
      break;
    case Look::Normal:
      break;
  }
  return b.grab().toImage();
}

class Sheet {
 public:
  Sheet() : m_Image(1000, 980, QImage::Format_RGB32), m_P(&m_Image) {
    m_Image.fill(QColor(150, 150, 150));
    m_P.setRenderHint(QPainter::TextAntialiasing);
  }
  QPainter& P() { return m_P; }
  void Title(int x, int y, const QString& text) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(13);
    f.setBold(true);
    m_P.setFont(f);
    m_P.setPen(QColor(20, 20, 20));
    m_P.drawText(x, y, text);
  }
  void Caption(int x, int y, const QString& text) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(10);
    m_P.setFont(f);
    m_P.setPen(QColor(25, 25, 25));
    m_P.drawText(x, y, text);
  }
  void Put(int x, int y, const QImage& img) { m_P.drawImage(x, y, img); }
  QImage Finish() {
    m_P.end();
    return m_Image;
  }

 private:
  QImage m_Image;
  QPainter m_P;
};

using namespace ov;

// Transport row: every button in every look.
const ButtonEntry kTransport[] = {
    {"rew 1001", 36, 48, IDB_REW_NORMAL, IDB_REW_PRESSED, IDB_REW_HOVER},
    {"r 1002", 36, 48, IDB_BACK_NORMAL, IDB_BACK_PRESSED, IDB_BACK_HOVER},
    {"play 1003", 43, 48, IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER},
    {"pause 1003", 43, 48, IDB_PAUSE, IDB_PAUSE, IDB_PAUSE},
    {"f 1004", 36, 48, IDB_FWD_NORMAL, IDB_FWD_PRESSED, IDB_FWD_HOVER},
    {"ff 1005", 36, 48, IDB_FF_NORMAL, IDB_FF_PRESSED, IDB_FF_HOVER},
};

void DrawTransportButtons(Sheet& sheet) {
  sheet.Title(10, 20, QStringLiteral("Transport buttons"));
  for (int look = 0; look < 4; ++look) sheet.Caption(10, 60 + look * 56, kLookNames[look]);
  int x = 70;
  for (const ButtonEntry& entry : kTransport) {
    sheet.Caption(x, 34, QString::fromLatin1(entry.name));
    for (int look = 0; look < 4; ++look) {
      sheet.Put(x, 38 + look * 56, GrabButton(entry, static_cast<Look>(look)));
    }
    x += 64;
  }
}

// The same buttons on the bar strip where the window places them.
void DrawTransportRow(Sheet& sheet) {
  sheet.Title(480, 20, QStringLiteral("Transport row on the bar strip"));
  QImage row(240, 48, QImage::Format_RGB32);
  QPainter p(&row);
  p.drawImage(QRect(0, 0, 240, 48), LoadBitmapResource(IDB_BAR_STRIP));
  const int places[] = {10, 46, 82, 125, 161};
  const int order[] = {0, 1, 2, 4, 5};
  for (int i = 0; i < 5; ++i) {
    p.drawImage(places[i], 0, GrabButton(kTransport[order[i]], Look::Normal));
  }
  p.end();
  sheet.Put(480, 38, row);
  QImage playing = row.copy();
  QPainter q(&playing);
  q.drawImage(82, 0, GrabButton(kTransport[3], Look::Normal));
  q.drawImage(125, 0, GrabButton(kTransport[4], Look::Hover));
  q.end();
  sheet.Put(480, 94, playing);
  sheet.Caption(730, 66, QStringLiteral("stopped"));
  sheet.Caption(730, 122, QStringLiteral("playing, f hovered"));
}

void DrawSmallButtons(Sheet& sheet) {
  // Small buttons: normal and pressed (their hover picture is the normal one).
  const ButtonEntry small[] = {
      {"minimize", 19, 19, IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_PRESSED, IDB_MINIMIZE_NORMAL},
      {"maximize", 19, 19, IDB_MAXIMIZE_NORMAL, IDB_MAXIMIZE_PRESSED, IDB_MAXIMIZE_NORMAL},
      {"close", 19, 19, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_CLOSE_NORMAL},
      {"CH1", 19, 19, IDB_CH1_NORMAL, IDB_CH1_PRESSED, IDB_CH1_NORMAL},
      {"CH4", 19, 19, IDB_CH4_NORMAL, IDB_CH4_PRESSED, IDB_CH4_NORMAL},
      {"CH9", 19, 19, IDB_CH9_NORMAL, IDB_CH9_PRESSED, IDB_CH9_NORMAL},
      {"CH16", 19, 19, IDB_CH16_NORMAL, IDB_CH16_PRESSED, IDB_CH16_NORMAL},
      {"sound on", 14, 15, IDB_SPEAKER_ON_NORMAL, IDB_SPEAKER_ON_PRESSED, IDB_SPEAKER_ON_NORMAL},
      {"sound off", 14, 15, IDB_SPEAKER_OFF_NORMAL, IDB_SPEAKER_OFF_PRESSED,
       IDB_SPEAKER_OFF_NORMAL},
      {"file open", 53, 22, IDB_FILEOPEN_NORMAL, IDB_FILEOPEN_PRESSED, IDB_FILEOPEN_NORMAL},
      {"About OK", 70, 23, IDB_ABOUT_OK_NORMAL, IDB_ABOUT_OK_PRESSED, IDB_ABOUT_OK_NORMAL},
  };
  sheet.Title(10, 270, QStringLiteral("Window, layout, sound and dialog buttons"));
  sheet.Caption(10, 306, QStringLiteral("normal"));
  sheet.Caption(10, 340, QStringLiteral("pressed"));
  int x = 70;
  for (const ButtonEntry& entry : small) {
    sheet.Caption(x, 286, QString::fromLatin1(entry.name));
    sheet.Put(x, 292, GrabButton(entry, Look::Normal));
    sheet.Put(x, 326, GrabButton(entry, Look::Pressed));
    x += entry.w + 40;
  }
}

void DrawPictures(Sheet& sheet) {
  // Other pictures.
  sheet.Title(10, 390, QStringLiteral("Labels, strip and pictures"));
  sheet.Caption(10, 406, QStringLiteral("169 TimeLine"));
  sheet.Put(10, 412, LoadBitmapResource(IDB_LABEL_TIMELINE));
  sheet.Caption(110, 406, QStringLiteral("170 FileName"));
  sheet.Put(110, 412, LoadBitmapResource(IDB_LABEL_FILENAME));
  sheet.Caption(210, 406, QStringLiteral("175 bar strip"));
  sheet.Put(210, 412, LoadBitmapResource(IDB_BAR_STRIP));
  sheet.Caption(300, 406, QStringLiteral("202 logo"));
  sheet.Put(300, 412, LoadBitmapResource(IDB_LOGO_SMALL));
  sheet.Caption(380, 406, QStringLiteral("203 About picture"));
  sheet.Put(380, 412, LoadBitmapResource(IDB_ABOUT_PICTURE));
}

void DrawVolumeSliders(Sheet& sheet) {
  // Volume slider, 115 x 14, range 0..15.
  sheet.Title(10, 490, QStringLiteral("Volume slider (115 x 14, range 0..15)"));
  int x = 10;
  for (int level : {0, 4, 8, 15}) {
    CVolumeSlider v;
    v.resize(115, 14);
    v.SetLevelRange(0, 15);
    v.SetLevel(level);
    sheet.Caption(x, 506, QStringLiteral("level %1").arg(level));
    sheet.Put(x, 512, v.grab().toImage());
    x += 130;
  }
  {
    CVolumeSlider v;
    v.resize(115, 14);
    v.SetLevelRange(0, 15);
    v.SetLevel(8);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(57, 7), QPointF(57, 7), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(&v, &press);
    sheet.Caption(x, 506, QStringLiteral("tracking"));
    sheet.Put(x, 512, v.grab().toImage());
  }
  sheet.Caption(690, 506, QStringLiteral("vertical, levels 0, 5, 9"));
  x = 690;
  for (int level : {0, 5, 9}) {
    CVolumeSlider v;
    v.setOrientation(Qt::Vertical);
    v.resize(20, 100);
    v.SetLevelRange(0, 9);
    v.SetLevel(level);
    sheet.Put(x, 512, v.grab().toImage());
    x += 40;
  }
}

// Returns the height the sheet needs.
int DrawSeekSliders(Sheet& sheet) {
  // Seek slider, 713 x 20.
  sheet.Title(10, 650, QStringLiteral("Seek slider (713 x 20, range 0..100)"));
  struct SeekLook {
    const char* caption;
    int pos;
    bool filled;
    bool dragging;
  };
  const SeekLook seeks[] = {{"no file, 0", 0, false, false},
                            {"file open, 30", 30, true, false},
                            {"file open, 100", 100, true, false},
                            {"dragging, 60", 60, true, true}};
  int y = 668;
  QWidget host;
  for (const SeekLook& s : seeks) {
    CSkinSlider seek(1016, &host);
    seek.resize(713, 20);
    seek.setRange(0, 100);
    seek.setValue(s.pos);
    seek.m_TrackFilled = s.filled;
    if (s.dragging) {
      const QPointF at(7 + 0.6 * 699, 10);
      QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton, {});
      QApplication::sendEvent(&seek, &press);
    }
    sheet.Caption(10, y + 14, QString::fromLatin1(s.caption));
    sheet.Put(120, y, seek.grab().toImage());
    y += 32;
  }
  return y;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: ov_contact_sheet <out.png> [zoom]\n");
    return 2;
  }
  const int zoom = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
  Sheet sheet;
  DrawTransportButtons(sheet);
  DrawTransportRow(sheet);
  DrawSmallButtons(sheet);
  DrawPictures(sheet);
  DrawVolumeSliders(sheet);
  const int y = DrawSeekSliders(sheet);

  QImage out = sheet.Finish().copy(0, 0, 1000, y + 8);
  if (zoom > 1) out = out.scaled(out.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  if (!out.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
