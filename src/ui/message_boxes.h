// Every message the program shows the operator goes through one replaceable object, so that a
// test answers the questions by script and sees exactly what was shown. Boxes are modal and
// titled "メッセージ".
#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>

class QWidget;

namespace drovik::ui {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows the message and returns the button the operator pressed.
  virtual QMessageBox::StandardButton show(QWidget* parent, const QString& text,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons) = 0;

  // Refusals, failures and results: warning icon and OK.
  void warn(QWidget* parent, const QString& text);
  // Questions: information icon, OK and Cancel; true when the operator pressed OK.
  bool confirm(QWidget* parent, const QString& text);
};

// The boxes in use: real message boxes unless replaced.
MessageBoxes& messageBoxes();
// Replaces the boxes (nullptr restores the real ones); the caller keeps ownership.
void setMessageBoxes(MessageBoxes* boxes);

// The title of every message box.
QString messageTitle();

// The box the real implementation shows: title "メッセージ", the program's button captions.
std::unique_ptr<QMessageBox> createMessageBox(QWidget* parent, const QString& text,
                                              QMessageBox::Icon icon,
                                              QMessageBox::StandardButtons buttons);

}  // namespace drovik::ui
