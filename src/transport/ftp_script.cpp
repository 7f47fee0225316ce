#include "transport/ftp_script.h"

#include <algorithm>
#include <cctype>

#include "transport/script_words.h"

namespace drovik::transport {
namespace {

// Control characters would end an FTP command early and start another.
bool hasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

bool isHostName(std::string_view host) {
  return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-';
  });
}

bool isPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string_view::npos && !hasControlCharacter(name);
}

std::string lastPathPart(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

Result<std::vector<FtpCommand>> parseFtpScript(std::string_view script) {
  const std::vector<std::string_view> lines = splitLines(script);
  std::vector<FtpCommand> commands;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string line(lines[n]);
    const auto refuse = [&](std::string_view why) {
      return Error{"FTPスクリプトの" + std::to_string(n + 1) + "行目を実行できません（" +
                   std::string(why) + "）: " + line};
    };
    if (hasControlCharacter(line)) return refuse("制御文字");
    const std::vector<std::string> w = splitWords(line);
    if (w.empty()) continue;
    const std::string verb = asciiLowercase(w[0]);
    FtpCommand command;
    command.line = line;
    if (verb == "open" && w.size() == 2) {
      if (!isHostName(w[1])) return refuse("接続先");
      command.kind = FtpCommand::Kind::Open;
      command.host = w[1];
      // The client prompts for the user name and the password; the script answers both.
      if (n + 1 < lines.size()) command.user = lines[++n];
      if (n + 1 < lines.size()) command.password = lines[++n];
      if (hasControlCharacter(command.user) || hasControlCharacter(command.password))
        return refuse("制御文字");
    } else if ((verb == "bin" || verb == "binary") && w.size() == 1) {
      command.kind = FtpCommand::Kind::Binary;
    } else if (verb == "cd" && w.size() == 2) {
      command.kind = FtpCommand::Kind::Cd;
      command.remote = w[1];
    } else if (verb == "get" && (w.size() == 2 || w.size() == 3)) {
      command.kind = FtpCommand::Kind::Get;
      command.remote = w[1];
      command.local = w.size() == 3 ? w[2] : lastPathPart(w[1]);
    } else if (verb == "put" && (w.size() == 2 || w.size() == 3)) {
      command.kind = FtpCommand::Kind::Put;
      command.local = w[1];
      command.remote = w.size() == 3 ? w[2] : w[1];
    } else if ((verb == "bye" || verb == "quit") && w.size() == 1) {
      commands.push_back(std::move(command));
      break;  // the client ends here
    } else {
      return refuse("未対応のコマンド");
    }
    if ((command.kind == FtpCommand::Kind::Get || command.kind == FtpCommand::Kind::Put) &&
        !isPlainFileName(command.local))
      return refuse("ファイル名");
    commands.push_back(std::move(command));
  }
  return commands;
}

}  // namespace drovik::transport
