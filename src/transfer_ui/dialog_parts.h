// Building blocks of the transport dialogs.
#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace drovik::transfer_ui {

// A push button that Enter never presses unless it is made the default: in the send dialogs
// Enter must not start or confirm anything.
QPushButton* makeButton(const QString& caption, const char* objectName, QWidget* parent);

}  // namespace drovik::transfer_ui
