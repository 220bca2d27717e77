#include "ui/PictureAdjustDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <iterator>

namespace ov {
namespace {
struct Row {
  const char* name;
  int min, max, neutral;
  const char* unit;
};
// Brightness in steps of the full scale; the others in percent of the recorded picture.
constexpr Row kRows[] = {
    {QT_TRANSLATE_NOOP("ov::CPictureAdjustDlg", "Brightness"), -100, 100, 0, ""},
    {QT_TRANSLATE_NOOP("ov::CPictureAdjustDlg", "Contrast"), 0, 300, 100, "%"},
    {QT_TRANSLATE_NOOP("ov::CPictureAdjustDlg", "Gamma"), 10, 400, 100, "%"},
    {QT_TRANSLATE_NOOP("ov::CPictureAdjustDlg", "Saturation"), 0, 300, 100, "%"}};
}  // namespace

CPictureAdjustDlg::CPictureAdjustDlg(QWidget* parent, int channel, const PictureAdjust& start,
                                     std::function<void(const PictureAdjust&)> apply)
    : QDialog(parent), m_channel(channel), m_apply(std::move(apply)) {
  setWindowTitle(tr("Picture Adjustments: CH %1").arg(channel + 1));
  auto* grid = new QGridLayout(this);
  for (size_t i = 0; i < std::size(kRows); ++i) {
    const Row& r = kRows[i];
    auto* label = new QLabel(tr(r.name), this);
    m_sliders[i] = new QSlider(Qt::Horizontal, this);
    m_sliders[i]->setRange(r.min, r.max);
    m_sliders[i]->setMinimumWidth(240);
    m_sliders[i]->setAccessibleName(tr(r.name));
    label->setBuddy(m_sliders[i]);
    m_values[i] = new QLabel(this);
    m_values[i]->setMinimumWidth(48);
    grid->addWidget(label, int(i), 0);
    grid->addWidget(m_sliders[i], int(i), 1);
    grid->addWidget(m_values[i], int(i), 2);
    connect(m_sliders[i], &QSlider::valueChanged, this, &CPictureAdjustDlg::Changed);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Reset | QDialogButtonBox::Close, this);
  connect(buttons->button(QDialogButtonBox::Reset), &QPushButton::clicked, this,
          &CPictureAdjustDlg::Reset);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  grid->addWidget(buttons, int(std::size(kRows)), 0, 1, 3);
  SetValues(start);
}

PictureAdjust CPictureAdjustDlg::Values() const {
  return {m_sliders[0]->value(), m_sliders[1]->value(), m_sliders[2]->value(),
          m_sliders[3]->value()};
}

void CPictureAdjustDlg::SetValues(const PictureAdjust& values) {
  const PictureAdjust v = values.Clamped();
  m_setting = true;  // one change for the four sliders
  const int all[4] = {v.brightness, v.contrast, v.gamma, v.saturation};
  for (size_t i = 0; i < m_sliders.size(); ++i) m_sliders[i]->setValue(all[i]);
  m_setting = false;
  Changed();
}

void CPictureAdjustDlg::Changed() {
  for (size_t i = 0; i < m_sliders.size(); ++i)
    m_values[i]->setText(QString::number(m_sliders[i]->value()) + QString::fromUtf8(kRows[i].unit));
  if (!m_setting && m_apply) m_apply(Values());
}

}  // namespace ov
