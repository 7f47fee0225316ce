#include "fleet/plan_writer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/atomic_file.h"

namespace drovik::fleet {
namespace {

// Quoted when the reader would otherwise split or trim it.
std::string field(const std::string& text) {
  const bool plain = text.find_first_of(",\"\r\n") == std::string::npos &&
                     (text.empty() || (text.front() != ' ' && text.front() != '\t' &&
                                       text.back() != ' ' && text.back() != '\t'));
  if (plain) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

std::string planFileText(const std::vector<PlanLine>& lines) {
  std::string text = "name,old_printer,new_target\n";
  for (const PlanLine& line : lines)
    text += field(line.name) + "," + field(line.oldPrinter) + "," + field(line.newTarget) + "\n";
  return text;
}

Status writePlanFile(const std::filesystem::path& path, const std::string& text, bool replace) {
  const std::string failure = "計画ファイルを書き込めません: " + path.string();
  auto pending = PendingReplacement::prepare(path, text);
  if (!pending) return Error{failure + "（" + pending.message() + "）"};
  if (replace) {
    if (Status s = pending->commit(); !s) return Error{failure + "（" + s.message() + "）"};
    return {};
  }
  // A link fails when the name exists, where a rename would replace it: no plan another
  // program wrote meanwhile is lost.
  const std::filesystem::path temporary = pending->release();
  const int linked = ::link(temporary.c_str(), path.c_str());
  const int cause = errno;
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  if (linked == 0) return {};
  if (cause == EEXIST) return Error{std::string(kPlanExists) + path.string()};
  return Error{failure + "（" + std::strerror(cause) + "）"};
}

}  // namespace drovik::fleet
