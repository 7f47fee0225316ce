// A fleet plan drafted from a sweep: one row per old printer found, named after what SNMP calls
// it (else where it stands, else its address), its new printer from the administrator's map
// or, where one location holds exactly one old printer and one 8630-M, that 8630-M.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/sweep.h"
#include "fleet/plan_writer.h"
#include "transport/target.h"

namespace drovik::discovery {

// A line of the target map `key,target`: the key an old printer's address, serial number or
// name, the target as the plan writes it.
struct TargetMapEntry {
  int line = 0;
  std::string key;
  transport::Target target;
};

// UTF-8 or code page 932, an optional header `key,target`, # comments and blank lines; every
// bad line named.
Result<std::vector<TargetMapEntry>> parseTargetMap(std::string_view bytes);
Result<std::vector<TargetMapEntry>> readTargetMap(const std::filesystem::path& path);

struct DraftRow {
  std::string name;
  Ipv4Octets oldPrinter{};
  std::optional<transport::Target> target;
  std::string note;  // why the target is empty, or how it was chosen
};

std::vector<DraftRow> draftPlan(const std::vector<FoundPrinter>& found,
                                const std::vector<TargetMapEntry>& map);

// The rows as plan lines (an empty target left empty).
std::vector<fleet::PlanLine> planLines(const std::vector<DraftRow>& rows);

// `text` made into a row name the fleet takes: characters a profile or folder name cannot
// hold become "_", blanks at the ends go, the name is cut to leave room for the 8630-M copy's
// suffix. Empty when nothing usable is left.
std::string safeRowName(std::string_view text);

}  // namespace drovik::discovery
