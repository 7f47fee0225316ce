#include "fleet/plan_entries.h"

#include "files/read_file.h"
#include "fleet/plan_text.h"

namespace drovik::fleet {
namespace {

// The file's bytes as they are now; none when there is no file.
Result<PlanVersion> currentVersion(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
    return PlanVersion(std::nullopt);
  auto bytes = readFileUpTo(path, kMaxPlanBytes);
  if (!bytes) return bytes.error();
  return PlanVersion(std::move(*bytes));
}

PlanEntry entryOf(std::string_view line) {
  PlanEntry entry;
  auto fields = splitPlanFields(line);
  if (!fields) {
    entry.fields.name = std::string(line);
    entry.lineProblem = fields.message();
    return entry;
  }
  std::vector<std::string>& f = *fields;
  if (f.size() != 3)
    entry.lineProblem =
        "項目が" + std::to_string(f.size()) + "個あります（設定名,旧プリンタ,送信先 の3個です）";
  // What does not fit stays visible in the target, for the operator to mend.
  for (std::size_t i = 3; i < f.size(); ++i) f[2] += "," + f[i];
  f.resize(3);
  entry.fields = {f[0], f[1], f[2]};
  return entry;
}

}  // namespace

Result<PlanDocument> readPlanDocument(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec))
    return Error{"計画ファイルがありません: " + path.string()};
  auto bytes = readFileUpTo(path, kMaxPlanBytes);
  if (!bytes) return bytes.error();
  auto text = planTextAsUtf8(*bytes);
  if (!text) return text.error();
  PlanDocument document;
  for (const NumberedLine& line : rowLines(*text)) document.entries.push_back(entryOf(line.text));
  document.version = std::move(*bytes);
  return document;
}

Result<PlanVersion> savePlanDocument(const std::filesystem::path& path,
                                     const std::vector<PlanEntry>& entries,
                                     const PlanVersion& known, bool overwrite) {
  if (!overwrite) {
    auto now = currentVersion(path);
    if (!now) return now.error();
    if (*now != known) return Error{std::string(kPlanChangedElsewhere) + path.string()};
  }
  std::vector<PlanLine> lines;
  for (const PlanEntry& entry : entries) lines.push_back(entry.fields);
  std::string text = planFileText(lines);
  // A new plan is linked in, so that a file another program created meanwhile is kept.
  if (Status s = writePlanFile(path, text, overwrite || known.has_value()); !s) return s.error();
  return PlanVersion(std::move(text));
}

}  // namespace drovik::fleet
