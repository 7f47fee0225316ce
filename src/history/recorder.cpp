#include "history/recorder.h"

#include <ctime>
#include <mutex>
#include <utility>

#include "history/history_file.h"
#include "history/history_time.h"
#include "history/origin.h"
#include "history/sha256.h"

namespace drovik::history {
namespace {

std::mutex warningsMutex;
std::vector<std::string> pendingWarnings;

Record stamped(Record record) {
  const Origin& origin = thisProcess();
  record.time = isoLocalTime(std::time(nullptr));
  record.user = origin.user;
  record.host = origin.host;
  record.program = origin.program;
  return record;
}

void keepWarning(const Status& written) {
  if (written) return;
  const std::lock_guard lock(warningsMutex);
  pendingWarnings.push_back("操作の履歴を記録できませんでした。操作そのものは行われています: " +
                            written.message());
}

}  // namespace

Record change(std::string_view operation, std::string_view profile, std::string_view model,
              std::string message) {
  Record record;
  record.operation = operation;
  record.profile = profile;
  record.model = model;
  record.outcome = kOutcomeOk;
  record.message = std::move(message);
  return record;
}

Record delivery(std::string_view operation, std::string_view profile, std::string_view model,
                std::string target, std::span<const std::uint8_t> command,
                std::string_view outcome, std::string message, std::string_view detail) {
  if (!detail.empty()) message.append("（").append(detail).append("）");
  Record record = change(operation, profile, model, std::move(message));
  record.target = std::move(target);
  record.bytes = command.size();
  record.sha256 = sha256Hex(command);
  record.outcome = outcome;
  return record;
}

void record(const std::filesystem::path& folder, Record record) {
  keepWarning(HistoryFile(folder).append(stamped(std::move(record))));
}

void recordHoldingLock(const std::filesystem::path& folder, Record record) {
  keepWarning(HistoryFile(folder).appendHoldingLock(stamped(std::move(record))));
}

std::vector<std::string> takeWarnings() {
  const std::lock_guard lock(warningsMutex);
  return std::exchange(pendingWarnings, {});
}

std::string spoolerTarget(std::string_view queue) {
  return std::string(kSpoolerTargetPrefix).append(queue);
}

std::string networkTarget(std::string_view address) {
  return std::string(kNetworkTargetPrefix).append(address);
}

}  // namespace drovik::history
