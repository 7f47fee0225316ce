#include "ui/message_boxes.h"

#include <QAbstractButton>

namespace drovik::ui {

namespace {

class QtMessageBoxes final : public MessageBoxes {
 public:
  QMessageBox::StandardButton show(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                                   QMessageBox::StandardButtons buttons) override {
    auto box = createMessageBox(parent, text, icon, buttons);
    return static_cast<QMessageBox::StandardButton>(box->exec());
  }
};

MessageBoxes* replacementBoxes = nullptr;

}  // namespace

void MessageBoxes::warn(QWidget* parent, const QString& text) {
  show(parent, text, QMessageBox::Warning, QMessageBox::Ok);
}

bool MessageBoxes::confirm(QWidget* parent, const QString& text) {
  return show(parent, text, QMessageBox::Information, QMessageBox::Ok | QMessageBox::Cancel) ==
         QMessageBox::Ok;
}

MessageBoxes& messageBoxes() {
  static QtMessageBoxes real;
  return replacementBoxes ? *replacementBoxes : real;
}

void setMessageBoxes(MessageBoxes* boxes) { replacementBoxes = boxes; }

QString messageTitle() { return QStringLiteral("メッセージ"); }

std::unique_ptr<QMessageBox> createMessageBox(QWidget* parent, const QString& text,
                                              QMessageBox::Icon icon,
                                              QMessageBox::StandardButtons buttons) {
  auto box = std::make_unique<QMessageBox>(icon, messageTitle(), text, buttons, parent);
  box->setObjectName("messageBox");
  box->setAccessibleName(messageTitle());
  if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->setText(QStringLiteral("OK"));
  if (QAbstractButton* cancel = box->button(QMessageBox::Cancel))
    cancel->setText(QStringLiteral("キャンセル"));
  return box;
}

}  // namespace drovik::ui
