// The --json output of drovik-cli's commands, for scripts: the same data as the text output,
// with the settings named as the settings tree names them. The schemas are in the README.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "report/setting_rows.h"

namespace drovik::cli {

using Json = nlohmann::ordered_json;

// Indented by two, with a final line end. Text that is not valid UTF-8 (a name the store could
// not decode) has its bad bytes replaced, so that it never makes the whole output invalid.
std::string jsonText(const Json& value);

// {"user": "ユーザー３" or null, "group": ..., "item": ...}: the start of a setting's record.
Json labelled(const SettingLabel& label);

}  // namespace drovik::cli
