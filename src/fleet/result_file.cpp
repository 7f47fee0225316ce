#include "fleet/result_file.h"

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>

#include "files/atomic_file.h"

namespace drovik::fleet {
namespace {

// Keys keep the order written, so that a person reading the file sees each step first.
using json = nlohmann::ordered_json;

constexpr const char* kStepNames[] = {"fetch", "register", "migrate", "command", "send"};
constexpr const char* kOutcomeNames[] = {"ok", "failed", "skipped", "queued"};
constexpr const char* kStatusNames[] = {"pending", "completed", "failed"};

template <class Enum, std::size_t N>
Enum fromName(const std::string& text, const char* const (&names)[N]) {
  for (std::size_t i = 0; i < N; ++i)
    if (text == names[i]) return static_cast<Enum>(i);
  throw std::invalid_argument("unknown value \"" + text + "\"");
}

json toJson(const RowResult& row) {
  json steps = json::array();
  for (const StepResult& step : row.steps) {
    json entry = {{"step", kStepNames[static_cast<int>(step.step)]},
                  {"outcome", kOutcomeNames[static_cast<int>(step.outcome)]},
                  {"message", step.message}};
    if (step.bytes) {
      entry["bytes"] = *step.bytes;
      entry["sha256"] = step.sha256;
    }
    steps.push_back(std::move(entry));
  }
  json entry = {{"line", row.line},
                {"name", row.name},
                {"old_printer", row.oldPrinter},
                {"target", row.target}};
  if (!row.archive.empty()) entry["archive"] = row.archive;
  entry["status"] = kStatusNames[static_cast<int>(row.status)];
  entry["steps"] = std::move(steps);
  return entry;
}

// Throws on anything that is not a record this program wrote.
RowResult fromJson(const json& entry) {
  RowResult row;
  row.line = entry.at("line").get<int>();
  row.name = entry.at("name").get<std::string>();
  row.oldPrinter = entry.at("old_printer").get<std::string>();
  row.target = entry.at("target").get<std::string>();
  if (entry.contains("archive")) row.archive = entry.at("archive").get<std::string>();
  row.status = fromName<RowStatus>(entry.at("status").get<std::string>(), kStatusNames);
  for (const json& item : entry.at("steps")) {
    StepResult step;
    step.step = fromName<Step>(item.at("step").get<std::string>(), kStepNames);
    step.outcome = fromName<StepOutcome>(item.at("outcome").get<std::string>(), kOutcomeNames);
    step.message = item.at("message").get<std::string>();
    if (item.contains("bytes")) {
      step.bytes = item.at("bytes").get<std::size_t>();
      step.sha256 = item.at("sha256").get<std::string>();
    }
    row.steps.push_back(std::move(step));
  }
  return row;
}

Result<std::vector<RowResult>> readRecords(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Error{"結果ファイルを読み込めません: " + path.string()};
  try {
    const json document = json::parse(in);
    std::vector<RowResult> rows;
    for (const json& entry : document.at("rows")) rows.push_back(fromJson(entry));
    return rows;
  } catch (const json::exception& e) {
    return Error{e.what()};
  } catch (const std::invalid_argument& e) {
    return Error{e.what()};
  }
}

}  // namespace

std::filesystem::path resultPathFor(const std::filesystem::path& plan) {
  std::filesystem::path result = plan;
  return result.replace_extension(".result.json");
}

Result<ResultFile> ResultFile::open(const std::filesystem::path& path,
                                    const std::vector<PlanRow>& plan) {
  ResultFile file;
  file.path_ = path;
  std::vector<RowResult> earlier;
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) {
    auto records = readRecords(path);
    if (!records)
      return Error{
          "結果ファイルの内容が正しくないため、実行しません: " + path.string() + "（" +
          records.message() +
          "）。内容を確かめ、不要であれば削除するか名前を変えてから実行し直してください。"};
    earlier = std::move(*records);
  }
  for (const PlanRow& row : plan) {
    auto it = std::find_if(earlier.begin(), earlier.end(),
                           [&](const RowResult& record) { return record.name == row.name; });
    // An earlier record of another printer or target under this name no longer applies.
    if (it != earlier.end() && it->isFor(row)) {
      RowResult kept = *it;
      kept.line = row.line;
      file.rows_.push_back(std::move(kept));
    } else {
      file.rows_.push_back(RowResult::pending(row));
    }
    if (it != earlier.end()) earlier.erase(it);
  }
  file.others_ = std::move(earlier);
  return file;
}

bool ResultFile::completedBefore(const PlanRow& row) const {
  return recordOf(row).status == RowStatus::Completed;
}

const RowResult& ResultFile::recordOf(const PlanRow& row) const {
  // open() made a record for every row of the plan.
  return *std::find_if(rows_.begin(), rows_.end(),
                       [&](const RowResult& record) { return record.name == row.name; });
}

RowResult* ResultFile::find(const std::string& name) {
  for (RowResult& row : rows_)
    if (row.name == name) return &row;
  return nullptr;
}

Status ResultFile::record(const RowResult& row) {
  const std::lock_guard lock(*mutex_);
  if (RowResult* slot = find(row.name)) *slot = row;
  return writeLocked();
}

Status ResultFile::write() {
  const std::lock_guard lock(*mutex_);
  return writeLocked();
}

Status ResultFile::writeLocked() const {
  json rows = json::array();
  for (const RowResult& row : rows_) rows.push_back(toJson(row));
  for (const RowResult& row : others_) rows.push_back(toJson(row));
  const json document = {{"rows", std::move(rows)}};
  if (Status s = writeFileAtomically(
          path_, document.dump(2, ' ', false, json::error_handler_t::replace) + "\n");
      !s)
    return Error{"結果ファイルを書き込めません: " + s.message()};
  return {};
}

}  // namespace drovik::fleet
