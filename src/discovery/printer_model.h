// Which 8630 a printer is, from what it says of itself: its FTP greeting, as the retrieval
// judges it, or else its SNMP descriptions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace drovik::discovery {

inline constexpr std::string_view kNewModel = "8630-M";
inline constexpr std::size_t kMaxOtherName = 60;

struct PrinterModel {
  enum class Kind {
    Old,      // one of the older models, whose settings the fleet fetches and migrates
    New,      // an 8630-M
    Other,    // something else that answered
    Unknown,  // it said nothing about itself
  };
  Kind kind = Kind::Unknown;
  // The model's name ("8630-H05", "8630-M") or, for Other, what the printer said (the start
  // of it, kMaxOtherName characters).
  std::string name;
};

// The older models are looked for first and in the retrieval's order (a greeting naming two
// is the first); then "8630-M"; anywhere in the text. Empty text: Unknown.
PrinterModel modelIn(std::string_view text);

// "旧機種", "8630-M", "その他", "不明": how the output names the kind.
std::string_view kindLabel(PrinterModel::Kind kind);
// The model as a list shows it: the model's name, "その他（what it said）" or "不明".
std::string modelText(const PrinterModel& model);
// "old", "new", "other", "unknown": the same for the JSON document.
std::string_view kindKey(PrinterModel::Kind kind);

}  // namespace drovik::discovery
