// Every control an operator can work must carry an object name (for tests and outside tools)
// and an accessible name (its caption, for screen readers).
#pragma once

#include <QStringList>
#include <QWidget>

namespace drovik::test {

// The buttons, line edits, combo and spin boxes and item views inside `root` that lack either
// name, each as its class, object name and accessible name; empty when all are named. The
// parts Qt builds inside controls (a combo box's list, a view's header) are not counted.
QStringList unnamedControls(const QWidget& root);

}  // namespace drovik::test
