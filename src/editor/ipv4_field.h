// An IPv4 address typed as four octets of 0..255; a blank octet reads as 0. "." moves on to
// the next octet, as in the address boxes of the desktop.
#pragma once

#include <QWidget>
#include <array>

class QLineEdit;

namespace drovik::editor {

class Ipv4Field : public QWidget {
  Q_OBJECT

 public:
  // Octet boxes are named `name` + "_1" .. "_4" and announced as the caption and the octet.
  Ipv4Field(const QString& name, const QString& caption, QWidget* parent);

  std::array<int, 4> octets() const;
  void setOctets(const std::array<int, 4>& octets);
  QLineEdit* octet(int i) const { return octets_[i]; }

 Q_SIGNALS:
  void edited();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::array<QLineEdit*, 4> octets_{};
};

}  // namespace drovik::editor
