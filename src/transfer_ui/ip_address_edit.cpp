#include "transfer_ui/ip_address_edit.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace drovik::transfer_ui {

IpAddressEdit::IpAddressEdit(const QString& objectName, const QString& accessibleName,
                             QWidget* parent)
    : QWidget(parent) {
  setObjectName(objectName);
  setAccessibleName(accessibleName);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  for (int i = 0; i < 4; ++i) {
    auto* box = new QLineEdit(this);
    box->setObjectName(objectName + QString::number(i + 1));
    box->setAccessibleName(accessibleName + QStringLiteral(" 第%1").arg(i + 1));
    box->setValidator(new QIntValidator(0, 255, box));
    box->setMaxLength(3);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    box->installEventFilter(this);
    connect(box, &QLineEdit::textEdited, this, [this, i](const QString& text) {
      if (text.size() == 3) advanceFrom(i);
    });
    boxes_[i] = box;
    if (i > 0) layout->addWidget(new QLabel(QStringLiteral("."), this));
    layout->addWidget(box);
  }
  layout->addStretch();
  setFocusProxy(boxes_[0]);
}

Ipv4Octets IpAddressEdit::octets() const {
  Ipv4Octets octets{};
  for (int i = 0; i < 4; ++i) octets[i] = boxes_[i]->text().toInt();  // blank: 0
  return octets;
}

void IpAddressEdit::setOctets(const Ipv4Octets& octets) {
  for (int i = 0; i < 4; ++i) boxes_[i]->setText(QString::number(octets[i] & 0xFF));
}

void IpAddressEdit::advanceFrom(int index) {
  if (index + 1 >= 4) return;
  boxes_[index + 1]->setFocus();
  boxes_[index + 1]->selectAll();
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    for (int i = 0; i < 4; ++i) {
      if (watched != boxes_[i]) continue;
      if (key->text() == QStringLiteral(".")) {
        advanceFrom(i);
        return true;
      }
      // Backspace in an empty box goes back to the previous one.
      if (key->key() == Qt::Key_Backspace && boxes_[i]->text().isEmpty() && i > 0) {
        boxes_[i - 1]->setFocus();
        return false;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace drovik::transfer_ui
