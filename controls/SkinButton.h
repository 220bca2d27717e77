#pragma once

#include <QImage>
#include <QPushButton>
#include <QRegion>
#include <cstdint>
#include <functional>

#include "controls/WinRect.h"

class QPainter;

namespace ov {

// A push button drawn from one picture per visual state (normal, pressed, hover, focus,
// disabled, check-on), optionally shaped by a mask picture: the button's outline, and the
// pictures' alpha channel, which the mask gives them once when they load.
//
// Commands: a click (mouse release over the still-pushed button, space bar release, Enter on a
// default button) emits command(ControlId()) once. The signal is emitted on the window thread
// after the check state has been updated, so a handler reads the new GetCheck().
//
// Threads: everything runs on the window thread except SetBitmaps and Invalidate, which may be
// called from any thread; off the window thread they are queued to it and run there in call
// order, so a paint never sees a half-replaced set of pictures.
class CSkinButton : public QPushButton {
  Q_OBJECT

 public:
  // How a click changes the check state: never, toggles it, or turns it on (and the radio
  // group's others off).
  enum class Kind { Push, Check, Radio };
  enum FitMode { FIT_NATURAL = 0, FIT_STRETCH = 1, FIT_TILE = 2 };

  // Which picture the paint shows.
  enum class Drawn { Face, Normal, Pressed, Hover, Focus, Disabled, CheckOn };

  // The owner-draw item state of one paint.
  struct ItemState {
    bool disabled = false;
    bool selected = false;  // pushed
    bool focus = false;
    bool checked = false;
  };

  // Which pictures are loaded, for ChooseDrawn.
  struct Loaded {
    bool normal = false, pressed = false, hover = false, focus = false, disabled = false,
         checkOn = false;
  };

  // Turns a picture id into a picture; a null image means "does not load".
  using BitmapLoader = std::function<QImage(std::uint32_t id)>;

  explicit CSkinButton(int controlId = 0, QWidget* parent = nullptr);
  ~CSkinButton() override;

  void SetKind(Kind kind) { m_Kind = kind; }
  Kind GetKind() const { return m_Kind; }

  int ControlId() const { return m_ControlId; }
  void SetControlId(int id) { m_ControlId = id; }

  // Replaces the picture source (default: the skin resources). Window thread only.
  void SetBitmapLoader(BitmapLoader loader);

  // Ids 0 mean "none". fitMode >= 2 tiles, < 0 draws at natural size; captionInset < 0 is
  // stored as 0. A mask id shapes the button (white is outside) and, at natural size, resizes
  // it to the mask; unless the pictures are tiled, the mask's white parts (and whatever of a
  // picture lies beyond the mask) become transparent. Does not repaint: call Invalidate
  // afterwards. Any thread.
  void SetBitmaps(std::uint32_t normal, std::uint32_t pressed, std::uint32_t hover,
                  std::uint32_t checkOn, std::uint32_t disabled, std::uint32_t focus,
                  std::uint32_t mask, int fitMode, int frameWidth, int captionInset);

  // Schedules a repaint. Any thread.
  void Invalidate();

  // Check state. A push button always stays unchecked; turning a radio button on posts a
  // release to every other button of its radio group (see SetRadioGroup), which drops its check
  // when that posted call runs, after this call has returned. The parent is not notified.
  void SetCheck(int check);
  int GetCheck() const { return m_CheckOn ? 1 : 0; }
  // Buttons with the same parent and group number form a radio group (default group 0).
  void SetRadioGroup(int group) { m_RadioGroup = group; }

  int FitModeValue() const { return m_FitMode; }
  int FrameWidth() const { return m_FrameWidth; }
  int CaptionInset() const { return m_CaptionInset; }
  bool PointerInside() const { return m_PointerInside; }
  bool Pressing() const { return m_Pressing; }
  const QImage& NormalBitmap() const { return m_bmpNormal; }

  // The state table of a paint: first matching row wins.
  static Drawn ChooseDrawn(const ItemState& state, bool checkOn, bool pointerInside,
                           const Loaded& loaded);

  // One rectangle per horizontal run of pixels that differ from key, scanned bottom row first,
  // in the mask's own pixel coordinates. A null mask gives an empty region.
  static QRegion BuildRegionFromMask(const QImage& mask, QRgb key);

  // The picture with the mask as its alpha channel: opaque where the mask has any colour but
  // white, transparent where it is white or where the mask does not reach.
  static QImage WithMaskAlpha(const QImage& picture, const QImage& mask);

  // Draws bitmap into rc by fit mode, over what is already there where it is transparent.
  static void PaintStateBitmap(QPainter& p, const QImage& bitmap, const WinRect& rc, int fitMode);
  // Repeats bitmap from rc's top-left corner, cutting the last row and column at rc's edges.
  static void TileBitmap(QPainter& p, const QImage& bitmap, const WinRect& rc);

 signals:
  // One click of the button: the control id set at construction or with SetControlId.
  void command(int controlId);

 public slots:
  // The posted radio-group release: drops the check state.
  void OnSkinButtonRelease();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool hitButton(const QPoint& pos) const override;

 private:
  void SetBitmapsHere(std::uint32_t normal, std::uint32_t pressed, std::uint32_t hover,
                      std::uint32_t checkOn, std::uint32_t disabled, std::uint32_t focus,
                      std::uint32_t mask, int fitMode, int frameWidth, int captionInset);
  QImage Load(std::uint32_t id) const;
  void ChangeCheckFromClick();
  void ReleaseRadioGroup();
  void Repaint();

  int m_ControlId;
  bool m_CheckOn = false;
  Kind m_Kind = Kind::Push;
  bool m_PointerInside = false;
  bool m_Pressing = false;
  QImage m_bmpNormal;
  QImage m_bmpPressed;
  QImage m_bmpDisabled;
  QImage m_bmpMask;
  QImage m_bmpHover;
  QImage m_bmpFocus;
  QImage m_bmpCheckOn;
  std::int16_t m_CaptionInset = 0;
  QRegion m_ShapeRegion;
  std::int32_t m_FrameWidth = 0;
  std::int16_t m_FitMode = FIT_STRETCH;
  int m_RadioGroup = 0;
  BitmapLoader m_Loader;
};

}  // namespace ov
