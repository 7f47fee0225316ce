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

// The 8630-M copy of a row's profile is named after it with this suffix.
inline constexpr std::string_view kMigratedSuffix = "-M";

struct PlanRow {
  int line = 0;  // in the plan file, from 1
  std::string name;
  Ipv4Octets oldPrinter{};
  transport::Target target;  // not a command file
  // The 8630-M copy the new printer's command is built from.
  std::string migratedName() const { return name + std::string(kMigratedSuffix); }
};

// The plan's bytes: UTF-8 with or without a byte order mark or code page 932 (see plan_text.h),
// LF or CR LF line ends, blank lines and an optional header line `name,old_printer,new_target`,
// fields optionally in double quotes ("" for a quote inside). A name must also serve as a
// folder name (no "/" or "\", not "." or ".."). The error lists every bad line.
Result<std::vector<PlanRow>> parsePlan(std::string_view bytes);
Result<std::vector<PlanRow>> readPlan(const std::filesystem::path& path);

// The lines of a plan's text (as UTF-8) that hold rows, numbered as in the file: blank lines and
// the header left out.
struct NumberedLine {
  int number = 0;
  std::string_view text;
};
std::vector<NumberedLine> rowLines(std::string_view text);

// The fields of one line of a plan (or of a file in the plan's CSV form); blanks around a
// field are dropped.
Result<std::vector<std::string>> splitPlanFields(std::string_view line);

// A row's name: a profile name, usable as a folder name, whose 8630-M copy is one too.
Status checkRowName(const std::string& name);

// A row's new printer: a queue, an address or the port; a command file is no printer, and an
// empty field says the row has none yet.
Result<transport::Target> parseNewTarget(std::string_view text);

}  // namespace drovik::fleet
