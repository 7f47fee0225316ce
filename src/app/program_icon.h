// The program icon, drawn for the window, the about box and the desktop entry.
#pragma once

#include <QIcon>

namespace drovik {

QIcon programIcon();

}  // namespace drovik
