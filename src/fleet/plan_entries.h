// A plan as the fleet window edits it: each row's three texts as typed, checked one by one with
// the messages the command gives, so that a plan with bad rows can be opened and mended. Saved,
// it is the file `drovik-cli fleet` reads, written whole and never over a copy that another
// program changed since it was read, unless the operator says so.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fleet/fleet_plan.h"
#include "fleet/plan_writer.h"

namespace drovik::fleet {

struct PlanEntry {
  PlanLine fields;
  // The file's line could not be read as three fields; cleared when the row is edited.
  std::string lineProblem;
};

// Each entry's row when the command would take it, else why not. Entries are numbered from 1
// in their order, as the window numbers its rows; a clash names the earlier entry's number.
struct EntryCheck {
  std::optional<PlanRow> row;
  std::string problem;
};
std::vector<EntryCheck> checkEntries(const std::vector<PlanEntry>& entries);

// The plan file's bytes as last read or written here; none for a plan not on disk yet.
using PlanVersion = std::optional<std::string>;

struct PlanDocument {
  std::vector<PlanEntry> entries;
  PlanVersion version;
};

// Read as parsePlan reads (UTF-8 or code page 932, a header, blank lines skipped), but every
// line kept as an entry, even one the command would refuse.
Result<PlanDocument> readPlanDocument(const std::filesystem::path& path);

// The start of the refusal to write over a plan changed by another program.
inline constexpr std::string_view kPlanChangedElsewhere =
    "計画ファイルはほかのプログラムが変更しています: ";

// Writes the entries as planFileText does. Refused with kPlanChangedElsewhere when the file is
// no longer `known` (or exists where `known` is none), unless `overwrite`. The new version on
// success.
Result<PlanVersion> savePlanDocument(const std::filesystem::path& path,
                                     const std::vector<PlanEntry>& entries,
                                     const PlanVersion& known, bool overwrite);

}  // namespace drovik::fleet
