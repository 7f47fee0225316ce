#include "ui/dialog_buttons.h"

#include <QDialogButtonBox>
#include <QPushButton>

namespace drovik::ui {

namespace {

void caption(QDialogButtonBox& box, QDialogButtonBox::StandardButton which, const QString& text,
             const char* objectName) {
  if (QPushButton* button = box.button(which)) {
    button->setText(text);
    button->setObjectName(objectName);
    button->setAccessibleName(text);
  }
}

}  // namespace

void captionDialogButtons(QDialogButtonBox& box) {
  caption(box, QDialogButtonBox::Ok, QStringLiteral("OK"), "okButton");
  caption(box, QDialogButtonBox::Cancel, QStringLiteral("キャンセル"), "cancelButton");
}

}  // namespace drovik::ui
