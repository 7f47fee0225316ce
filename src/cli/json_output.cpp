#include "cli/json_output.h"

namespace drovik::cli {

std::string jsonText(const Json& value) {
  return value.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

Json labelled(const SettingLabel& label) {
  Json record = Json::object();
  record["user"] = label.namedByUser ? Json(catalogue::userCaption(label.user)) : Json(nullptr);
  record["group"] = label.group;
  record["item"] = label.item;
  return record;
}

}  // namespace drovik::cli
