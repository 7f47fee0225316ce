// UTF-8 texts (the catalogue's, the messages of the core) as Qt strings and back.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace drovik {

inline QString qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string utf8(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace drovik
