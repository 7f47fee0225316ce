#include "editor/choice_control.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QRadioButton>
#include <QSignalBlocker>

#include "editor/page_states.h"
#include "ui/qt_text.h"

namespace drovik::editor {

ChoiceControl::ChoiceControl(const catalogue::Item& item, const QString& name,
                             const QString& caption, QWidget* parent)
    : QWidget(parent) {
  setObjectName(name + "_control");
  const auto& entries = item.values->entries;
  if (!editor::isRadioPair(item)) {
    list_ = new QComboBox(this);
    list_->setObjectName(name);
    list_->setAccessibleName(caption);
    // Wheel turns over a closed list scroll the page instead of changing the setting.
    list_->setFocusPolicy(Qt::StrongFocus);
    for (std::string_view entry : entries) list_->addItem(qt(entry));
    connect(list_, &QComboBox::activated, this, &ChoiceControl::chosen);
    setFocusProxy(list_);
    return;
  }
  auto* group = new QButtonGroup(this);
  for (int i = 0; i < 2; ++i) {
    radios_[i] = new QRadioButton(qt(entries[i]), this);
    radios_[i]->setObjectName(name + "_" + QString::number(i));
    radios_[i]->setAccessibleName(qt(entries[i]));
    radios_[i]->setAccessibleDescription(caption);
    group->addButton(radios_[i], i);
    connect(radios_[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) Q_EMIT chosen(i);
    });
  }
  setFocusProxy(radios_[0]);
  secondColumn_ = radios_[0]->sizeHint().width();
}

void ChoiceControl::showCode(int code) {
  if (list_) {
    const QSignalBlocker blocker(list_);
    list_->setCurrentIndex(code >= 0 && code < list_->count() ? code : -1);
    return;
  }
  const QSignalBlocker first(radios_[0]);
  const QSignalBlocker second(radios_[1]);
  radios_[code == 0 ? 0 : 1]->setChecked(true);
}

void ChoiceControl::setSecondColumn(int x) {
  secondColumn_ = x;
  if (!list_) resizeEvent(nullptr);
}

int ChoiceControl::firstRadioWidth() const { return list_ ? 0 : radios_[0]->sizeHint().width(); }

void ChoiceControl::resizeEvent(QResizeEvent*) {
  if (list_) {
    list_->setGeometry(rect());
    return;
  }
  radios_[0]->setGeometry(0, 0, secondColumn_, height());
  radios_[1]->setGeometry(secondColumn_, 0, width() - secondColumn_, height());
}

}  // namespace drovik::editor
