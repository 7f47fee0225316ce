// The control of one choice item: its value list as a drop-down list, or a pair of radio
// buttons side by side when the list has two entries. Captions come from the catalogue.
//
// The list sits directly in the page's frame, beside its caption label: screen readers on
// Linux name a drop-down list by its current entry and take its caption from the label whose
// buddy it is, which must share its parent.
#pragma once

#include <QObject>

#include "model/catalogue.h"

class QComboBox;
class QWidget;

namespace drovik::editor {

class RadioPair;

class ChoiceControl : public QObject {
  Q_OBJECT

 public:
  // Creates the list or the pair in `host`. `name` is the object name of the list (radio
  // buttons add "_0" and "_1"); `caption` the row caption that screen readers announce with it.
  ChoiceControl(const catalogue::Item& item, const QString& name, const QString& caption,
                QWidget* host);

  // The widget that takes the row's place: the list or the pair.
  QWidget* widget() const;
  bool isRadioPair() const { return pair_ != nullptr; }
  // Shows a code without telling anyone: a list shows no entry for a code outside it.
  void showCode(int code);

  QComboBox* list() const { return list_; }
  RadioPair* pair() const { return pair_; }

 Q_SIGNALS:
  // The operator chose the entry or ticked the button of this code.
  void chosen(int code);

 private:
  QComboBox* list_ = nullptr;
  RadioPair* pair_ = nullptr;
};

}  // namespace drovik::editor
