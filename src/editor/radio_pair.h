// The two radio buttons of a two-value item, side by side inside a group that screen readers
// announce by the item's caption: the buttons alone only say "通常速" or "高速", the group says
// "印字速度". The group draws no frame; the page's caption column already shows the item.
#pragma once

#include <QGroupBox>

class QRadioButton;

namespace drovik::editor {

class RadioPair : public QGroupBox {
  Q_OBJECT

 public:
  // The buttons are named `name` + "_0" and "_1" and show the two entries.
  RadioPair(const QString& name, const QString& first, const QString& second, QWidget* parent);

  QRadioButton* radio(int i) const { return radios_[i]; }
  // Where the second button starts, so that the pairs of a page line up.
  void setSecondColumn(int x);
  int firstRadioWidth() const;

 Q_SIGNALS:
  // The operator ticked button `i`.
  void ticked(int i);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QRadioButton* radios_[2] = {nullptr, nullptr};
  int secondColumn_ = 0;
};

}  // namespace drovik::editor
