#include "cli/cli_support.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>

#include "cli/commands.h"
#include "transport/run_control.h"
#include "transport/transfer_lock.h"

namespace drovik::cli {

void reportError(const std::string& message) { std::cerr << "drovik-cli: " << message << '\n'; }

int fail(const std::string& message, int code) {
  reportError(message);
  return code;
}

Status writeOutput(std::string_view text) {
  errno = 0;
  std::cout << text << std::flush;
  if (std::cout) return {};
  const int cause = errno;
  return Error{std::string("標準出力に書き込めません") +
               (cause != 0 ? std::string("（") + std::strerror(cause) + "）" : "")};
}

Result<StorePaths> dataPaths(const Args& args) {
  if (auto option = args.option("--data-dir")) {
    std::error_code ec;
    if (!std::filesystem::is_directory(*option, ec))
      return Error{"データフォルダがありません: " + *option};
    return StorePaths::inDirectory(*option);
  }
  auto found = defaultProgramDirectory();
  if (!found) return found.error();
  return StorePaths::inDirectory(*found);
}

Result<int> numberOption(const Args& args, const std::string& name, int fallback, int max) {
  const auto text = args.option(name);
  if (!text) return fallback;
  int value = 0;
  const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (ec != std::errc() || end != text->data() + text->size() || value < 1 || value > max)
    return Error{name + " には 1 から " + std::to_string(max) + " までの数を指定してください。"};
  return value;
}

Result<std::chrono::seconds> timeoutOption(const Args& args) {
  constexpr int kMaxTimeoutSeconds = 600;
  const auto fallback = std::chrono::duration_cast<std::chrono::seconds>(transport::kRunLimit);
  auto seconds =
      numberOption(args, "--timeout", static_cast<int>(fallback.count()), kMaxTimeoutSeconds);
  if (!seconds) return seconds.error();
  return std::chrono::seconds(*seconds);
}

std::string registrationFailure(const Error& error, const std::string& name) {
  if (error.message != overwriteQuestion(name)) return error.message;
  return error.message + "（上書きするには --yes を付けてください）";
}

void printWarnings(const std::vector<std::string>& warnings) {
  for (std::string warning : warnings) {
    for (char& c : warning)
      if (c == '\n' || c == '\r') c = ' ';
    std::cerr << "drovik-cli: 警告: " << warning << '\n';
  }
}

void reportWaitingForTransfer() { reportError(transport::waitingForTransferMessage()); }

}  // namespace drovik::cli
