#include "app/program_icon.h"

namespace drovik {

QIcon programIcon() {
  static const QIcon icon(QStringLiteral(":/drovik.svg"));
  return icon;
}

}  // namespace drovik
