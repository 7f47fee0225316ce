#include "transport/target.h"

#include <algorithm>
#include <cctype>

#include "history/history_record.h"
#include "history/recorder.h"
#include "transport/ipv4_address.h"

namespace drovik::transport {
namespace {

constexpr std::string_view kParallelWord = history::kParallelTarget;
constexpr std::string_view kNetworkPrefix = history::kNetworkTargetPrefix;
constexpr std::string_view kSpoolerPrefix = history::kSpoolerTargetPrefix;

bool startsWithWord(std::string_view text, std::string_view word) {
  return text.size() >= word.size() &&
         std::equal(word.begin(), word.end(), text.begin(), [](char w, char t) {
           return w == std::tolower(static_cast<unsigned char>(t));
         });
}

bool isWord(std::string_view text, std::string_view word) {
  return text.size() == word.size() && startsWithWord(text, word);
}

// A file path that would read as the port or a printer.
bool readsAsPrinter(std::string_view text) {
  return isWord(text, kParallelWord) || startsWithWord(text, kNetworkPrefix) ||
         startsWithWord(text, kSpoolerPrefix);
}

Error refused(TargetFault* fault, TargetFault why, std::string message) {
  if (fault) *fault = why;
  return Error{std::move(message)};
}

}  // namespace

Target Target::spooler(std::string queue) {
  Target target;
  target.kind = Kind::Spooler;
  target.queue = std::move(queue);
  return target;
}

Target Target::network(const Ipv4Octets& address) {
  Target target;
  target.kind = Kind::Network;
  target.address = address;
  return target;
}

Target Target::parallel() { return Target{}; }

Target Target::commandFile(std::filesystem::path file) {
  Target target;
  target.kind = Kind::CommandFile;
  target.file = std::move(file);
  return target;
}

std::string Target::text() const {
  switch (kind) {
    case Kind::Spooler:
      return history::spoolerTarget(queue);
    case Kind::Network:
      return history::networkTarget(dottedOctets(address));
    case Kind::CommandFile:
      return readsAsPrinter(file.native()) ? "./" + file.string() : file.string();
    case Kind::Parallel:
      break;
  }
  return std::string(kParallelWord);
}

bool validQueueName(std::string_view queue) {
  if (queue.empty() || queue.size() > kMaxQueueName) return false;
  return std::none_of(queue.begin(), queue.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F || c == '/' || c == '#';
  });
}

Result<Ipv4Octets> parsePrinterAddress(std::string_view text) {
  auto address = parseAddress(text);
  if (!address) return address.error();
  if (isEmptyAddress(*address)) return Error{"0.0.0.0 はプリンタのアドレスとして使えません"};
  return address;
}

Result<Target> parseTarget(std::string_view text, TargetFault* fault) {
  if (fault) *fault = TargetFault::None;
  if (text.empty()) return refused(fault, TargetFault::Empty, "送信先が指定されていません");
  if (isWord(text, kParallelWord)) return Target::parallel();
  if (startsWithWord(text, kNetworkPrefix)) {
    auto address = parsePrinterAddress(text.substr(kNetworkPrefix.size()));
    if (!address) return refused(fault, TargetFault::Address, address.message());
    return Target::network(*address);
  }
  if (startsWithWord(text, kSpoolerPrefix)) {
    std::string queue(text.substr(kSpoolerPrefix.size()));
    if (!validQueueName(queue))
      return refused(fault, TargetFault::QueueName, "プリンタ名「" + queue + "」は使えません");
    return Target::spooler(std::move(queue));
  }
  // Target::text writes a file named like a printer with "./" before it.
  if (text.starts_with("./") && readsAsPrinter(text.substr(2))) text.remove_prefix(2);
  return Target::commandFile(std::filesystem::path(text));
}

}  // namespace drovik::transport
