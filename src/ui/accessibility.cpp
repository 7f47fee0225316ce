#include "ui/accessibility.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>

namespace drovik::ui {

namespace {

QString withoutMnemonic(QString caption) {
  caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
  caption.remove(QLatin1Char('&'));
  return caption;
}

void nameIfUnnamed(QWidget* widget, const QString& caption) {
  if (widget && widget->accessibleName().isEmpty() && !caption.isEmpty())
    widget->setAccessibleName(withoutMnemonic(caption));
}

}  // namespace

void nameControlsAfterCaptions(QWidget& root) {
  for (auto* button : root.findChildren<QAbstractButton*>()) nameIfUnnamed(button, button->text());
  for (auto* group : root.findChildren<QGroupBox*>()) nameIfUnnamed(group, group->title());
  for (auto* label : root.findChildren<QLabel*>()) {
    nameIfUnnamed(label, label->text());
    nameIfUnnamed(label->buddy(), label->text());
  }
}

}  // namespace drovik::ui
