#include "cli/cli_support.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

#include "cli/commands.h"
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

bool expectOperands(const Args& args, std::size_t count, const char* usage) {
  if (args.operands.size() == count) return true;
  reportError(std::string("引数の数が違います。使い方: drovik-cli ") + usage);
  return false;
}

Result<std::string> readBinaryFile(const std::filesystem::path& path, std::size_t maxBytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    return Error{"ファイルではありません: " + path.string()};
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return Error{"ファイルを読み込めません: " + path.string() + "（" + std::strerror(errno) + "）"};
  std::string bytes;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > maxBytes)
      return Error{"ファイルが大きすぎます: " + path.string() + "（" + std::to_string(maxBytes) +
                   "バイトまで）"};
  }
  if (in.bad()) return Error{"ファイルを読み込めません: " + path.string()};
  return bytes;
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
