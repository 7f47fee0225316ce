#include "editor/choice_control.h"

#include <QComboBox>
#include <QRadioButton>
#include <QSignalBlocker>

#include "editor/page_states.h"
#include "editor/radio_pair.h"
#include "ui/qt_text.h"

namespace drovik::editor {

ChoiceControl::ChoiceControl(const catalogue::Item& item, const QString& name,
                             const QString& caption, QWidget* host) {
  const auto& entries = item.values->entries;
  if (editor::isRadioPair(item)) {
    pair_ = new RadioPair(name, qt(entries[0]), qt(entries[1]), host);
    pair_->setAccessibleName(caption);
    connect(pair_, &RadioPair::ticked, this, &ChoiceControl::chosen);
  } else {
    list_ = new QComboBox(host);
    list_->setObjectName(name);
    list_->setAccessibleName(caption);
    // Wheel turns over a closed list scroll the page instead of changing the setting.
    list_->setFocusPolicy(Qt::StrongFocus);
    for (std::string_view entry : entries) list_->addItem(qt(entry));
    connect(list_, &QComboBox::activated, this, &ChoiceControl::chosen);
  }
  setParent(widget());  // goes with its widget
}

QWidget* ChoiceControl::widget() const {
  if (list_) return list_;
  return pair_;
}

void ChoiceControl::showCode(int code) {
  if (list_) {
    const QSignalBlocker blocker(list_);
    list_->setCurrentIndex(code >= 0 && code < list_->count() ? code : -1);
    return;
  }
  const QSignalBlocker blocker(pair_);
  pair_->radio(code == 0 ? 0 : 1)->setChecked(true);
}

}  // namespace drovik::editor
