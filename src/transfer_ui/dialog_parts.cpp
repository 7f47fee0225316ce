#include "transfer_ui/dialog_parts.h"

#include <QPushButton>

namespace drovik::transfer_ui {

QPushButton* makeButton(const QString& caption, const char* objectName, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(objectName);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace drovik::transfer_ui
