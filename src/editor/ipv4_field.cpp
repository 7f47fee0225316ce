#include "editor/ipv4_field.h"

#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace drovik::editor {

Ipv4Field::Ipv4Field(const QString& name, const QString& caption, QWidget* parent)
    : QWidget(parent) {
  setObjectName(name);
  setAccessibleName(caption);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  for (int i = 0; i < 4; ++i) {
    if (i > 0) row->addWidget(new QLabel(QStringLiteral("."), this));
    auto* box = new QLineEdit(this);
    box->setObjectName(name + "_" + QString::number(i + 1));
    box->setAccessibleName(caption + " " + QString::number(i + 1));
    box->setMaxLength(3);
    box->setAlignment(Qt::AlignCenter);
    // Wide enough for three digits, not for the line edit's usual twenty characters.
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    box->setValidator(new QIntValidator(0, 255, box));
    box->installEventFilter(this);
    connect(box, &QLineEdit::textEdited, this, &Ipv4Field::edited);
    row->addWidget(box, 1);
    octets_[i] = box;
  }
}

std::array<int, 4> Ipv4Field::octets() const {
  std::array<int, 4> values{};
  for (int i = 0; i < 4; ++i) values[i] = octets_[i]->text().toInt();  // blank reads 0
  return values;
}

void Ipv4Field::setOctets(const std::array<int, 4>& values) {
  for (int i = 0; i < 4; ++i) octets_[i]->setText(QString::number(values[i]));
}

bool Ipv4Field::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const int i =
        static_cast<int>(std::find(octets_.begin(), octets_.end(), watched) - octets_.begin());
    if (key->text() == QStringLiteral(".") && i < 3) {
      octets_[i + 1]->setFocus(Qt::TabFocusReason);
      octets_[i + 1]->selectAll();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace drovik::editor
