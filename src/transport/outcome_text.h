// How an outcome is told in one line: the operator's message, then the technical detail in
// full-width brackets, "message（detail）". Every place that shows a send or a retrieval in
// one line tells it this way.
#pragma once

#include <string>
#include <string_view>

namespace drovik::transport {

inline std::string messageWithDetail(std::string_view message, std::string_view detail) {
  std::string told(message);
  if (!detail.empty()) told.append("（").append(detail).append("）");
  return told;
}

}  // namespace drovik::transport
