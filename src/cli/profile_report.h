// A profile's settings list on standard output, as report shows it and migrate after it.
#pragma once

#include <optional>
#include <string>

#include "service/profile_service.h"

namespace drovik::cli {

// Loads the profile and prints its settings list in the given layout (its own model's without
// one), or its records as JSON.
Status printReport(const ProfileService& service, const std::string& name, bool asJson,
                   std::optional<CommandVariant> variant = std::nullopt);

}  // namespace drovik::cli
