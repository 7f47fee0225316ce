// The control of one choice item: its value list as a drop-down list, or a pair of radio
// buttons side by side when the list has two entries. Captions come from the catalogue.
#pragma once

#include <QWidget>

#include "model/catalogue.h"

class QComboBox;
class QRadioButton;

namespace drovik::editor {

class ChoiceControl : public QWidget {
  Q_OBJECT

 public:
  // `name` is the object name of the control (radio buttons add "_0" and "_1"); `caption` the
  // row caption that screen readers announce with it.
  ChoiceControl(const catalogue::Item& item, const QString& name, const QString& caption,
                QWidget* parent);

  bool isRadioPair() const { return list_ == nullptr; }
  // Shows a code without telling anyone: a list shows no entry for a code outside it.
  void showCode(int code);
  // Where the second radio button starts, so that the pairs of a page line up.
  void setSecondColumn(int x);
  int firstRadioWidth() const;

  QComboBox* list() const { return list_; }
  QRadioButton* radio(int i) const { return radios_[i]; }

 Q_SIGNALS:
  // The operator chose the entry or ticked the button of this code.
  void chosen(int code);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QComboBox* list_ = nullptr;
  QRadioButton* radios_[2] = {nullptr, nullptr};
  int secondColumn_ = 0;
};

}  // namespace drovik::editor
