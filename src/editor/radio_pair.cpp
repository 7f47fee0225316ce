#include "editor/radio_pair.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace drovik::editor {

RadioPair::RadioPair(const QString& name, const QString& first, const QString& second,
                     QWidget* parent)
    : QGroupBox(parent) {
  setObjectName(name + "_group");
  auto* group = new QButtonGroup(this);
  const QString captions[2] = {first, second};
  for (int i = 0; i < 2; ++i) {
    radios_[i] = new QRadioButton(captions[i], this);
    radios_[i]->setObjectName(name + "_" + QString::number(i));
    radios_[i]->setAccessibleName(captions[i]);
    group->addButton(radios_[i], i);
    connect(radios_[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) Q_EMIT ticked(i);
    });
  }
  setFocusProxy(radios_[0]);
  secondColumn_ = radios_[0]->sizeHint().width();
}

void RadioPair::setSecondColumn(int x) {
  secondColumn_ = x;
  resizeEvent(nullptr);
}

int RadioPair::firstRadioWidth() const { return radios_[0]->sizeHint().width(); }

void RadioPair::paintEvent(QPaintEvent*) {}

void RadioPair::resizeEvent(QResizeEvent*) {
  radios_[0]->setGeometry(0, 0, secondColumn_, height());
  radios_[1]->setGeometry(secondColumn_, 0, width() - secondColumn_, height());
}

}  // namespace drovik::editor
