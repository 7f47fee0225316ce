// An IP-address field of four octet boxes, as the operator knows it from the desktop's
// network settings: digits only, each box 0..255, "." or a third digit moves to the next box.
// A blank box reads as 0.
#pragma once

#include <QWidget>
#include <array>

#include "model/profile_store.h"

class QLineEdit;

namespace drovik::transfer_ui {

class IpAddressEdit : public QWidget {
  Q_OBJECT

 public:
  // The boxes are named `<objectName>1`..`4` and "<accessibleName> 第N" for screen readers.
  IpAddressEdit(const QString& objectName, const QString& accessibleName,
                QWidget* parent = nullptr);

  Ipv4Octets octets() const;
  void setOctets(const Ipv4Octets& octets);
  QLineEdit* box(int index) const { return boxes_[index]; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void advanceFrom(int index);

  std::array<QLineEdit*, 4> boxes_{};
};

}  // namespace drovik::transfer_ui
