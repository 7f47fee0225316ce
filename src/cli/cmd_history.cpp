#include <algorithm>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "history/history_file.h"
#include "history/history_time.h"

namespace drovik::cli {
namespace {

// A field of the table: a TAB or a line break inside would start another column or row.
std::string cell(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
  return text;
}

std::string tableLine(const history::Record& record) {
  const std::string fields[] = {
      record.time,    record.user,      record.host,
      record.program, record.operation, record.profile,
      record.model,   record.target,    record.bytes ? std::to_string(*record.bytes) : "",
      record.sha256,  record.outcome,   record.message};
  std::string line;
  for (const std::string& field : fields) {
    if (!line.empty()) line += '\t';
    line += cell(field);
  }
  return line + '\n';
}

Result<history::RecordFilter> filterOf(const Args& args) {
  history::RecordFilter filter;
  filter.profile = args.option("--profile");
  filter.target = args.option("--target");
  filter.operation = args.option("--operation");
  if (filter.operation) {
    const auto& known = history::operation::kAll;
    if (std::find(known.begin(), known.end(), *filter.operation) == known.end()) {
      std::string names;
      for (const std::string_view name : known)
        names.append(names.empty() ? "" : ", ").append(name);
      return Error{"不明な操作です: " + *filter.operation + "（" + names + "）"};
    }
  }
  if (const auto since = args.option("--since")) {
    filter.since = history::parseTimePoint(*since);
    if (!filter.since)
      return Error{"--since の日時を読めません: " + *since +
                   "（例: 2024-04-01、2024-04-01T09:30、2024-04-01T09:30:00+09:00）"};
  }
  return filter;
}

}  // namespace

int runHistory(const Args& args) {
  auto filter = filterOf(args);
  if (!filter) return fail(filter.message(), kExitUsage);
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  auto contents = history::HistoryFile(paths->lockFolder()).read(*filter);
  if (!contents) return fail(contents.message());
  for (const std::string& note : contents->notes) reportError("注意: " + note);
  std::string out;
  for (const history::Record& record : contents->records)
    out += args.has("--json") ? history::encodeLine(record) : tableLine(record);
  if (Status s = writeOutput(out); !s) return fail(s.message());
  return kExitOk;
}

const Command kHistoryCommand = {
    .name = "history",
    .options = {{"--profile", "NAME", "設定名で絞り込みます"},
                {"--target", "T", "対象で絞り込みます"},
                {"--since", "DATE", "その日時以降に絞り込みます"},
                {"--operation", "OP", "操作の種類で絞り込みます"},
                {"--json", "", "1行1件の JSON で出力します"}},
    .notes =
        "  （設定の変更と送信の履歴。古い順に1行1件、タブ区切り。--json は1行1件のJSON。\n"
        "   --target は cups:プリンタ名 / ftp:A.B.C.D / parallel / ファイル名、\n"
        "   --since は 2024-04-01 や 2024-04-01T09:30 など。OP は register, overwrite, save,\n"
        "   delete, migrate, decode, command-file, send, fleet-send）\n",
    .run = runHistory,
};

}  // namespace drovik::cli
