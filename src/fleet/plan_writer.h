// Writing a plan in the form parsePlan reads: UTF-8, a header line, one row a line, fields
// quoted where they must be. The file is written whole or not at all, and an existing file is
// replaced only when the caller says so.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "files/status.h"

namespace drovik::fleet {

// A row as it is written; the target may be empty, for the administrator to fill in.
struct PlanLine {
  std::string name;
  std::string oldPrinter;
  std::string newTarget;
};

std::string planFileText(const std::vector<PlanLine>& lines);

// The start of the refusal of an existing file, which callers complete with their own hint.
inline constexpr std::string_view kPlanExists = "計画ファイルがすでにあります: ";

// Refuses an existing `path` unless `replace`; either way no reader ever sees half a plan.
Status writePlanFile(const std::filesystem::path& path, const std::string& text, bool replace);

}  // namespace drovik::fleet
