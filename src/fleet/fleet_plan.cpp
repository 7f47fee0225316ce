#include "fleet/fleet_plan.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>

#include "fleet/plan_entries.h"
#include "fleet/plan_text.h"
#include "ini/ini_document.h"
#include "model/profile_registry.h"
#include "transport/ipv4_address.h"

namespace drovik::fleet {
namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

Result<std::vector<std::string>> splitPlanFields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  while (true) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    std::string field;
    if (at < line.size() && line[at] == '"') {
      ++at;
      bool closed = false;
      while (at < line.size()) {
        if (line[at] == '"' && at + 1 < line.size() && line[at + 1] == '"') {
          field += '"';
          at += 2;
        } else if (line[at] == '"') {
          closed = true;
          ++at;
          break;
        } else {
          field += line[at++];
        }
      }
      if (!closed) return Error{"引用符（\"）が閉じていません"};
      while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
      if (at < line.size() && line[at] != ',') return Error{"引用符（\"）の後に文字があります"};
    } else {
      const std::size_t comma = std::min(line.find(',', at), line.size());
      field = std::string(trimmed(line.substr(at, comma - at)));
      if (field.find('"') != std::string::npos)
        return Error{"引用符（\"）はフィールド全体を囲むときだけ使えます"};
      at = comma;
    }
    fields.push_back(std::move(field));
    if (at >= line.size()) return fields;
    ++at;  // the comma
  }
}

Result<transport::Target> parseNewTarget(std::string_view text) {
  if (trimmed(text).empty())
    return Error{
        "送信先がありません（ftp:A.B.C.D、cups:プリンタ名、parallel のどれかを書いてください）"};
  transport::TargetFault fault;
  auto target = transport::parseTarget(text, &fault);
  if (!target && fault == transport::TargetFault::Address)
    return Error{"新しいプリンタのアドレスが正しくありません（" + target.message() + "）"};
  if (!target && fault == transport::TargetFault::QueueName) return target.error();
  if (!target || target->kind == transport::Target::Kind::CommandFile)
    return Error{"送信先「" + std::string(text) +
                 "」が分かりません（ftp:A.B.C.D、cups:プリンタ名、parallel のどれかです）"};
  return target;
}

namespace {

// A row's profiles are kept in a folder of the row's name.
Status checkFolderName(const std::string& name) {
  if (name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos)
    return Error{"設定名「" + name +
                 "」はフォルダ名に使えません（「/」「\\」を含む名前と「.」「..」は使えません）"};
  return {};
}

}  // namespace

Status checkRowName(const std::string& name) {
  if (Status s = validateProfileName(name); !s) return s.error();
  if (Status s = checkFolderName(name); !s) return s.error();
  const std::string migrated = name + std::string(kMigratedSuffix);
  if (Status s = validateProfileName(migrated); !s)
    return Error{"移行先の設定名「" + migrated + "」: " + s.message()};
  return {};
}

namespace {

Result<PlanRow> rowOf(const std::vector<std::string>& fields, int number) {
  if (fields.size() != 3)
    return Error{"項目が" + std::to_string(fields.size()) +
                 "個あります（設定名,旧プリンタ,送信先 の3個です）"};
  PlanRow row;
  row.line = number;
  row.name = fields[0];
  if (Status s = checkRowName(row.name); !s) return s.error();
  auto old = transport::parsePrinterAddress(fields[1]);
  if (!old) return Error{"旧プリンタのアドレスが正しくありません（" + old.message() + "）"};
  row.oldPrinter = *old;
  auto target = parseNewTarget(fields[2]);
  if (!target) return target.error();
  row.target = *target;
  return row;
}

bool isHeader(std::string_view line) {
  auto fields = splitPlanFields(line);
  return fields && fields->size() == 3 && lowered((*fields)[0]) == "name" &&
         lowered((*fields)[1]) == "old_printer" && lowered((*fields)[2]) == "new_target";
}

// Queue names are matched by the spooler regardless of case.
bool sameTarget(const transport::Target& a, const transport::Target& b) {
  if (a.kind != b.kind) return false;
  if (a.kind == transport::Target::Kind::Network) return a.address == b.address;
  return lowered(a.queue) == lowered(b.queue);
}

// Two rows whose profiles would share a section: the same name (as the settings file matches
// names), or one row's 8630-M copy named as another row's profile. Two rows for one new
// printer: the rows run at once, so what it kept would be chance (and two copies to one port
// could mix their bytes).
std::optional<std::string> clash(const std::vector<PlanRow>& rows, const PlanRow& row) {
  for (const PlanRow& earlier : rows) {
    for (const std::string& mine : {row.name, row.migratedName()})
      for (const std::string& theirs : {earlier.name, earlier.migratedName()})
        if (ini::IniDocument::sameName(mine, theirs))
          return "設定名「" + mine + "」が" + std::to_string(earlier.line) + "行目と重複しています";
  }
  for (const PlanRow& earlier : rows)
    if (sameTarget(row.target, earlier.target))
      return "送信先「" + row.target.text() + "」が" + std::to_string(earlier.line) +
             "行目と同じです（一台のプリンタに送れるのは一行だけです）";
  return std::nullopt;
}

}  // namespace

std::vector<NumberedLine> rowLines(std::string_view text) {
  std::vector<NumberedLine> lines;
  bool first = true;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (trimmed(line).empty()) continue;
    const bool header = first && isHeader(line);
    first = false;
    if (!header) lines.push_back({number, line});
  }
  return lines;
}

Result<std::vector<PlanRow>> parsePlan(std::string_view bytes) {
  auto decoded = planTextAsUtf8(bytes);
  if (!decoded) return decoded.error();
  std::vector<PlanRow> rows;
  std::string errors;
  for (const NumberedLine& line : rowLines(*decoded)) {
    auto fields = splitPlanFields(line.text);
    Result<PlanRow> row = fields ? rowOf(*fields, line.number) : Result<PlanRow>(fields.error());
    std::optional<std::string> problem;
    if (!row)
      problem = row.message();
    else
      problem = clash(rows, *row);
    if (problem) {
      errors += "計画の" + std::to_string(line.number) + "行目: " + *problem + "\n";
      continue;
    }
    rows.push_back(std::move(*row));
  }
  if (!errors.empty()) {
    errors.pop_back();
    return Error{errors};
  }
  if (rows.empty()) return Error{"計画に行がありません（設定名,旧プリンタ,送信先）"};
  return rows;
}

std::vector<EntryCheck> checkEntries(const std::vector<PlanEntry>& entries) {
  std::vector<EntryCheck> checks;
  std::vector<PlanRow> accepted;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const PlanEntry& entry = entries[i];
    EntryCheck& check = checks.emplace_back();
    if (!entry.lineProblem.empty()) {
      check.problem = entry.lineProblem;
      continue;
    }
    const PlanLine& fields = entry.fields;
    auto row = rowOf({fields.name, fields.oldPrinter, fields.newTarget}, static_cast<int>(i) + 1);
    if (!row) {
      check.problem = row.message();
    } else if (auto problem = clash(accepted, *row)) {
      check.problem = *problem;
    } else {
      accepted.push_back(*row);
      check.row = std::move(*row);
    }
  }
  return checks;
}

Result<std::vector<PlanRow>> readPlan(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec))
    return Error{"計画ファイルがありません: " + path.string()};
  if (std::filesystem::file_size(path, ec) > kMaxPlanBytes)
    return Error{"計画ファイルが大きすぎます: " + path.string()};
  std::ifstream in(path, std::ios::binary);
  if (!in) return Error{"計画ファイルを読み込めません: " + path.string()};
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return parsePlan(text);
}

}  // namespace drovik::fleet
