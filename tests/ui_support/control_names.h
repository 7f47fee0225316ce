// Every control an operator can work must carry an object name (for tests and outside tools)
// and a caption that a screen reader announces with it: its accessible name, a drop-down list's
// buddy label, a radio button's group.
#pragma once

#include <QStringList>
#include <QWidget>

namespace drovik::test {

// The buttons, line edits, combo and spin boxes and item views inside `root` that lack a name,
// each as its class, object name, accessible name and what is wrong; empty when all are named.
// Wrong are: no object or accessible name; a drop-down list whose caption is its current entry
// (Qt on Linux announces a list by its entry, its caption by the label whose buddy it is); a
// radio button whose parent is no group with a name of its own ("通常速" says nothing without
// "印字速度"). The parts Qt builds inside controls (a combo box's list, a view's header) are not
// counted.
QStringList unnamedControls(const QWidget& root);

}  // namespace drovik::test
