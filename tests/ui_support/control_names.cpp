#include "ui_support/control_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

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

bool operable(QWidget* control) {
  return qobject_cast<QAbstractButton*>(control) || qobject_cast<QLineEdit*>(control) ||
         qobject_cast<QComboBox*>(control) || qobject_cast<QAbstractSpinBox*>(control) ||
         qobject_cast<QAbstractItemView*>(control);
}

// The text of the label that labels the control (a label beside it whose buddy it is).
QString labelText(QAccessibleInterface& accessible) {
  for (const auto& [label, relation] : accessible.relations(QAccessible::Label))
    if (qobject_cast<QLabel*>(label->object())) return label->text(QAccessible::Name);
  return {};
}

// Why a control's caption says nothing of what it is; empty when it does.
QString captionFault(QWidget& control) {
  if (control.objectName().isEmpty() || control.accessibleName().isEmpty()) return "no name";
  if (auto* list = qobject_cast<QComboBox*>(&control)) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(list);
    QString caption = labelText(*accessible);
    if (caption.isEmpty()) caption = accessible->text(QAccessible::Name);
    const QString entry = list->currentText();
    if (caption.isEmpty() ||
        (!entry.isEmpty() && (caption == entry || list->accessibleName() == entry)))
      return QStringLiteral("named by its entry \"%1\"").arg(entry);
  }
  if (qobject_cast<QRadioButton*>(&control)) {
    // The group's own name: Qt names a nameless widget in a titled group box by that title,
    // which is the frame's caption, not the pair's.
    QWidget* group = control.parentWidget();
    QAccessibleInterface* accessible =
        group ? QAccessible::queryAccessibleInterface(group) : nullptr;
    if (!accessible || accessible->role() != QAccessible::Grouping) return "not in a group";
    const auto* box = qobject_cast<QGroupBox*>(group);
    if (group->accessibleName().isEmpty() && labelText(*accessible).isEmpty() &&
        (!box || box->title().isEmpty()))
      return "not in a named group";
  }
  return {};
}

}  // namespace

QStringList unnamedControls(const QWidget& root) {
  QStringList unnamed;
  for (QWidget* control : root.findChildren<QWidget*>()) {
    if (!operable(control) || partOfAControl(*control, root)) continue;
    const QString fault = captionFault(*control);
    if (!fault.isEmpty())
      unnamed << QStringLiteral("%1 \"%2\" \"%3\": %4")
                     .arg(control->metaObject()->className(), control->objectName(),
                          control->accessibleName(), fault);
  }
  return unnamed;
}

}  // namespace drovik::test
