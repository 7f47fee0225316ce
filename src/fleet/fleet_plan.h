// The plan of a fleet migration: one row per old printer, `name,old_printer,new_target`, where
// the new target is `ftp:A.B.C.D`, `cups:QUEUE` or `parallel`. A plan with any bad row is
// refused whole, every bad line named, before any printer is asked.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/profile_store.h"
#include "transport/target.h"

namespace drovik::fleet {

struct PlanRow {
  int line = 0;  // in the plan file, from 1
  std::string name;
  Ipv4Octets oldPrinter{};
  transport::Target target;  // not a command file
  // The 8630-M copy the new printer's command is built from.
  std::string migratedName() const { return name + "-M"; }
};

// The plan's bytes: UTF-8 with or without a byte order mark or code page 932 (see plan_text.h),
// LF or CR LF line ends, blank lines and an optional header line `name,old_printer,new_target`,
// fields optionally in double quotes ("" for a quote inside). A name must also serve as a
// folder name (no "/" or "\", not "." or ".."). The error lists every bad line.
Result<std::vector<PlanRow>> parsePlan(std::string_view bytes);
Result<std::vector<PlanRow>> readPlan(const std::filesystem::path& path);

}  // namespace drovik::fleet
