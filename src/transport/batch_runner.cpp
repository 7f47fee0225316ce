#include "transport/batch_runner.h"

#include <cstdio>
#include <fstream>
#include <memory>

#include "model/text_codec.h"
#include "transport/ftp_session.h"
#include "transport/script_words.h"

namespace drovik::transport {
namespace {

// Far more than any command image or script the program writes.
constexpr std::uintmax_t kMaxInputFileSize = 1 << 20;

struct BatchLine {
  enum class Kind { CopyToPort, Ftp };
  Kind kind;
  std::string text;
  std::filesystem::path source;  // CopyToPort: the file; Ftp: the script
  std::filesystem::path log;     // Ftp
};

Result<std::string> readSmallFile(const std::filesystem::path& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || !std::filesystem::is_regular_file(path, ec))
    return Error{"ファイル「" + path.string() + "」を読み込めません"};
  if (size > kMaxInputFileSize) return Error{"ファイル「" + path.string() + "」が大きすぎます"};
  std::ifstream in(path, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!in.read(bytes.data(), static_cast<std::streamsize>(size)))
    return Error{"ファイル「" + path.string() + "」を読み込めません"};
  return bytes;
}

// "copy /b FILE lpt1"
bool parseCopy(const std::vector<std::string>& w, BatchLine& line) {
  if (w.size() != 4 || asciiLowercase(w[0]) != "copy" || asciiLowercase(w[1]) != "/b") return false;
  const std::string port = asciiLowercase(w[3]);
  if (port != "lpt1" && port != "lpt1:") return false;
  line.kind = BatchLine::Kind::CopyToPort;
  line.source = w[2];
  return !w[2].empty();
}

// "ftp -i -s:SCRIPT > LOG" (the redirection also written ">LOG").
bool parseFtp(const std::vector<std::string>& w, BatchLine& line) {
  if (w.empty() || asciiLowercase(w[0]) != "ftp") return false;
  line.kind = BatchLine::Kind::Ftp;
  for (std::size_t i = 1; i < w.size(); ++i) {
    const std::string lower = asciiLowercase(w[i]);
    if (lower == "-i") continue;
    if (lower.starts_with("-s:") && w[i].size() > 3 && line.source.empty()) {
      line.source = w[i].substr(3);
    } else if (w[i] == ">" && i + 1 < w.size() && line.log.empty()) {
      line.log = w[++i];
    } else if (w[i].size() > 1 && w[i][0] == '>' && w[i][1] != '>' && line.log.empty()) {
      line.log = w[i].substr(1);
    } else {
      return false;
    }
  }
  return !line.source.empty() && !line.log.empty();
}

Result<std::vector<BatchLine>> parseBatch(std::string_view bytes) {
  const std::string text = ini::cp932ToUtf8Lossy(bytes);
  std::vector<BatchLine> lines;
  for (std::string_view raw : splitScriptLines(text)) {
    const std::vector<std::string> w = splitWords(raw);
    if (w.empty()) continue;
    BatchLine line{.kind = BatchLine::Kind::Ftp, .text = std::string(raw), .source = {}, .log = {}};
    if (!parseCopy(w, line) && !parseFtp(w, line))
      return Error{"バッチファイルの次の行は実行できません: " + std::string(raw)};
    lines.push_back(std::move(line));
  }
  return lines;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

Status copyToPort(const BatchLine& line, const BatchEnvironment& environment, RunControl& control) {
  auto bytes = readSmallFile(environment.workDir / line.source);
  if (!bytes) return bytes.status();
  auto port = findParallelPort(environment.parallelDevices);
  if (!port) return port.status();
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->data());
  return copyToDevice({data, bytes->size()}, *port, control);
}

Status runFtp(const BatchLine& line, const BatchEnvironment& environment, RunControl& control) {
  // The redirection creates the log before the client starts, as the command interpreter does.
  const std::filesystem::path logPath = environment.workDir / line.log;
  std::unique_ptr<std::FILE, FileCloser> log(std::fopen(logPath.c_str(), "wb"));
  if (!log) return Error{"ファイル「" + logPath.string() + "」を作成できません"};
  auto script = readSmallFile(environment.workDir / line.source);
  if (!script) {
    std::fprintf(log.get(), "Error opening script file %s.\r\n", line.source.c_str());
    return script.status();
  }
  auto commands = parseFtpScript(*script);
  if (!commands) {
    std::fprintf(log.get(), "%s\r\n", commands.message().c_str());
    return commands.status();
  }
  Status ran = runFtpCommands(*commands, environment.workDir, log.get(), control);
  if (std::fclose(log.release()) != 0)
    return Error{"ファイル「" + logPath.string() + "」に書き込めません"};
  return ran;
}

}  // namespace

Status runBatchFile(const std::filesystem::path& batchFile, const BatchEnvironment& environment,
                    RunControl& control) {
  auto bytes = readSmallFile(batchFile);
  if (!bytes) return bytes.status();
  auto lines = parseBatch(*bytes);
  if (!lines) return lines.status();
  for (const BatchLine& line : *lines) {
    Status s = line.kind == BatchLine::Kind::CopyToPort ? copyToPort(line, environment, control)
                                                        : runFtp(line, environment, control);
    if (!s) return s;
  }
  return {};
}

}  // namespace drovik::transport
