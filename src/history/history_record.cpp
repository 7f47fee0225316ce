#include "history/history_record.h"

#include <nlohmann/json.hpp>

namespace drovik::history {
namespace {

using Json = nlohmann::ordered_json;

std::string dumped(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A string field: absent and null read as empty, any other type makes the line no record.
bool readText(const Json& object, const char* key, std::string& into) {
  const auto it = object.find(key);
  if (it == object.end() || it->is_null()) return true;
  if (!it->is_string()) return false;
  into = it->get<std::string>();
  return true;
}

}  // namespace

std::string encodeLine(const Record& record) {
  Json json;
  json["time"] = record.time;
  json["user"] = record.user;
  json["host"] = record.host;
  json["program"] = record.program;
  json["operation"] = record.operation;
  json["profile"] = record.profile;
  json["model"] = record.model;
  json["target"] = record.target;
  json["bytes"] = record.bytes ? Json(*record.bytes) : Json(nullptr);
  json["sha256"] = record.sha256.empty() ? Json(nullptr) : Json(record.sha256);
  json["outcome"] = record.outcome;
  json["message"] = record.message;
  return dumped(json) + '\n';
}

std::optional<Record> decodeLine(std::string_view line) {
  const Json json = Json::parse(line.begin(), line.end(), nullptr, false);
  if (!json.is_object()) return std::nullopt;
  Record record;
  const bool texts =
      readText(json, "time", record.time) && readText(json, "user", record.user) &&
      readText(json, "host", record.host) && readText(json, "program", record.program) &&
      readText(json, "operation", record.operation) && readText(json, "profile", record.profile) &&
      readText(json, "model", record.model) && readText(json, "target", record.target) &&
      readText(json, "sha256", record.sha256) && readText(json, "outcome", record.outcome) &&
      readText(json, "message", record.message);
  // Without its time and operation a line says nothing a reader could use.
  if (!texts || record.time.empty() || record.operation.empty()) return std::nullopt;
  if (const auto bytes = json.find("bytes"); bytes != json.end() && !bytes->is_null()) {
    if (!bytes->is_number_unsigned()) return std::nullopt;
    record.bytes = bytes->get<std::uint64_t>();
  }
  return record;
}

std::string encodedText(std::string_view text) {
  const std::string quoted = dumped(Json(std::string(text)));
  return quoted.substr(1, quoted.size() - 2);
}

}  // namespace drovik::history
