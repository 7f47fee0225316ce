#include "discovery/plan_draft.h"

#include <map>

#include "files/read_file.h"
#include "fleet/fleet_plan.h"
#include "fleet/plan_text.h"
#include "ini/ini_document.h"
#include "ini/text_codec.h"
#include "model/catalogue.h"
#include "transport/ipv4_address.h"

namespace drovik::discovery {
namespace {

constexpr std::size_t kMaxMapBytes = 1 << 20;

bool usableInName(char32_t c, std::string_view bytes) {
  if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == '[' || c == ']' || c == '"' ||
      c == '\'')
    return false;
  return static_cast<bool>(ini::utf8ToCp932(bytes));
}

// Two rows would share a profile section: the fleet refuses such a plan.
bool clashes(const std::string& name, const std::vector<DraftRow>& rows) {
  const std::string migrated = name + std::string(fleet::kMigratedSuffix);
  for (const DraftRow& row : rows)
    for (const std::string& theirs : {row.name, row.name + std::string(fleet::kMigratedSuffix)})
      if (ini::IniDocument::sameName(name, theirs) || ini::IniDocument::sameName(migrated, theirs))
        return true;
  return false;
}

std::string uniqueName(std::string name, const std::vector<DraftRow>& rows) {
  if (!clashes(name, rows)) return name;
  for (int n = 2;; ++n) {
    const std::string suffix = "-" + std::to_string(n);
    std::string candidate =
        ini::truncateUtf16(
            name, cat::kProfileNameCapacity - fleet::kMigratedSuffix.size() - suffix.size()) +
        suffix;
    if (!clashes(candidate, rows)) return candidate;
  }
}

std::string rowNameOf(const FoundPrinter& printer) {
  for (const std::string& candidate : {printer.name(), printer.location()})
    if (std::string name = safeRowName(candidate); !name.empty()) return name;
  return transport::dottedOctets(printer.address);
}

const TargetMapEntry* mapped(const std::vector<TargetMapEntry>& map, const FoundPrinter& printer,
                             const std::string& rowName) {
  const std::string address = transport::dottedOctets(printer.address);
  for (const TargetMapEntry& entry : map)
    if (entry.key == address || (!printer.serial().empty() && entry.key == printer.serial()) ||
        (!printer.name().empty() && entry.key == printer.name()) || entry.key == rowName)
      return &entry;
  return nullptr;
}

// The 8630-M at each location that holds exactly one old printer and exactly one 8630-M.
std::map<std::string, Ipv4Octets> pairedByLocation(const std::vector<FoundPrinter>& found) {
  struct Count {
    int old = 0;
    int fresh = 0;
    Ipv4Octets newPrinter{};
  };
  std::map<std::string, Count> counts;
  for (const FoundPrinter& printer : found) {
    if (printer.location().empty()) continue;
    Count& count = counts[printer.location()];
    if (printer.model.kind == PrinterModel::Kind::Old) ++count.old;
    if (printer.model.kind == PrinterModel::Kind::New) {
      ++count.fresh;
      count.newPrinter = printer.address;
    }
  }
  std::map<std::string, Ipv4Octets> pairs;
  for (const auto& [location, count] : counts)
    if (count.old == 1 && count.fresh == 1) pairs[location] = count.newPrinter;
  return pairs;
}

}  // namespace

std::string safeRowName(std::string_view text) {
  std::string name;
  std::size_t at = 0;
  while (at < text.size()) {
    const auto decoded = ini::decodeUtf8At(text, at);
    const std::size_t length = decoded.length == 0 ? 1 : decoded.length;
    const std::string_view bytes = text.substr(at, length);
    name += decoded.length != 0 && usableInName(decoded.codePoint, bytes) ? std::string(bytes)
                                                                          : std::string("_");
    at += length;
  }
  name = ini::truncateUtf16(name, cat::kProfileNameCapacity - fleet::kMigratedSuffix.size());
  // Blanks at the ends, which a section header would lose.
  auto blankAt = [&](std::size_t pos) { return name[pos] == ' ' || name[pos] == '\t'; };
  while (!name.empty() && blankAt(0)) name.erase(0, 1);
  while (!name.empty() && blankAt(name.size() - 1)) name.pop_back();
  while (name.ends_with("\u3000")) name.resize(name.size() - 3);
  while (name.starts_with("\u3000")) name.erase(0, 3);
  if (name.empty() || name.find_first_not_of("._") == std::string::npos) return {};
  if (!fleet::checkRowName(name)) return {};
  return name;
}

Result<std::vector<TargetMapEntry>> parseTargetMap(std::string_view bytes) {
  auto text = fleet::planTextAsUtf8(bytes);
  if (!text) return Error{"送信先の対応表: " + text.message()};
  std::vector<TargetMapEntry> entries;
  std::string faults;
  std::string_view rest = *text;
  int number = 0;
  while (!rest.empty()) {
    ++number;
    const auto newline = rest.find('\n');
    std::string_view line = rest.substr(0, newline);
    rest = newline == std::string_view::npos ? std::string_view{} : rest.substr(newline + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos || line.starts_with('#')) continue;
    auto fields = fleet::splitPlanFields(line);
    Status fault;
    if (!fields) {
      fault = fields.error();
    } else if (fields->size() != 2) {
      fault =
          Error{"項目が" + std::to_string(fields->size()) + "個あります（キー,送信先 の2個です）"};
    } else if (entries.empty() && faults.empty() && (*fields)[0] == "key" &&
               (*fields)[1] == "target") {
      continue;  // the header
    } else if ((*fields)[0].empty()) {
      fault = Error{"キー（アドレス、シリアル番号、名前）がありません"};
    } else if (auto target = fleet::parseNewTarget((*fields)[1]); !target) {
      fault = target.error();
    } else {
      entries.push_back({number, (*fields)[0], *target});
    }
    if (!fault)
      faults += (faults.empty() ? "" : "\n") + std::to_string(number) + "行目: " + fault.message();
  }
  if (!faults.empty()) return Error{"送信先の対応表が正しくありません:\n" + faults};
  return entries;
}

Result<std::vector<TargetMapEntry>> readTargetMap(const std::filesystem::path& path) {
  auto bytes = readFileUpTo(path, kMaxMapBytes);
  if (!bytes) return bytes.error();
  return parseTargetMap(*bytes);
}

std::vector<DraftRow> draftPlan(const std::vector<FoundPrinter>& found,
                                const std::vector<TargetMapEntry>& map) {
  const auto pairs = pairedByLocation(found);
  std::vector<DraftRow> rows;
  for (const FoundPrinter& printer : found) {
    if (printer.model.kind != PrinterModel::Kind::Old) continue;
    DraftRow row;
    row.name = uniqueName(rowNameOf(printer), rows);
    row.oldPrinter = printer.address;
    if (const TargetMapEntry* entry = mapped(map, printer, row.name)) {
      row.target = entry->target;
    } else if (const auto pair = pairs.find(printer.location()); pair != pairs.end()) {
      row.target = transport::Target::network(pair->second);
      row.note = "送信先は同じ場所（" + printer.location() + "）の 8630-M です";
    } else {
      row.note = "送信先が決まりません（計画の new_target に書き入れてください）";
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<fleet::PlanLine> planLines(const std::vector<DraftRow>& rows) {
  std::vector<fleet::PlanLine> lines;
  for (const DraftRow& row : rows)
    lines.push_back({row.name, transport::dottedOctets(row.oldPrinter),
                     row.target ? row.target->text() : std::string()});
  return lines;
}

}  // namespace drovik::discovery
