#include "ui_support/control_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>

namespace drovik::test {

namespace {

// Parts that Qt builds inside a control (a combo box's list, a view's header, a spin box's
// editor) or for itself (names starting "qt_"): named by their owner, not by us.
bool partOfAControl(const QWidget& control, const QWidget& root) {
  if (control.objectName().startsWith(QLatin1String("qt_"))) return true;
  for (QWidget* owner = control.parentWidget(); owner && owner != &root;
       owner = owner->parentWidget())
    if (qobject_cast<QComboBox*>(owner) || qobject_cast<QAbstractSpinBox*>(owner) ||
        qobject_cast<QAbstractItemView*>(owner))
      return true;
  return false;
}

}  // namespace

QStringList unnamedControls(const QWidget& root) {
  QStringList unnamed;
  for (QWidget* control : root.findChildren<QWidget*>()) {
    const bool operable = qobject_cast<QAbstractButton*>(control) ||
                          qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control) ||
                          qobject_cast<QAbstractSpinBox*>(control) ||
                          qobject_cast<QAbstractItemView*>(control);
    if (!operable || partOfAControl(*control, root)) continue;
    if (control->objectName().isEmpty() || control->accessibleName().isEmpty())
      unnamed << QStringLiteral("%1 \"%2\" \"%3\"")
                     .arg(control->metaObject()->className(), control->objectName(),
                          control->accessibleName());
  }
  return unnamed;
}

}  // namespace drovik::test
