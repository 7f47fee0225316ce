// An IPv4 address as four octet boxes, as operators know it from the desktop's network
// settings: digits only, "." or a third digit moves on to the next box, Backspace in an empty
// box goes back; a blank box reads as 0. An octet above 255 cannot be typed or pasted: the box
// becomes 255 and the operator is told why. Octets set from stored values are shown as they
// are, in range or not, so that a wrong stored address is seen and refused where it is used
// instead of quietly turning into another one here.
#pragma once

#include <QWidget>
#include <array>

class QLineEdit;

namespace drovik::ui {

class Ipv4Edit : public QWidget {
  Q_OBJECT

 public:
  using Octets = std::array<int, 4>;
  static constexpr int kMaxOctet = 255;

  // The boxes are named `<objectName>_1`..`_4` and announced as "<caption> 第1".."第4"; the
  // caption also names the field in the message about an octet above 255.
  Ipv4Edit(const QString& objectName, const QString& caption, QWidget* parent = nullptr);

  Octets octets() const;
  void setOctets(const Octets& octets);
  QLineEdit* box(int index) const { return boxes_[index]; }

 Q_SIGNALS:
  // The operator changed an octet; octets() already holds any correction to 255.
  void edited();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void operatorEdited(int index, const QString& before);
  void moveTo(int index);

  QString caption_;
  std::array<QLineEdit*, 4> boxes_{};
};

}  // namespace drovik::ui
