#include "transport/batch_runner.h"

#include <cstring>

#include "ini/text_codec.h"
#include "transport/ftp_session.h"
#include "transport/script_words.h"

namespace drovik::transport {
namespace {

struct BatchLine {
  enum class Kind { CopyToPort, Ftp };
  Kind kind;
  std::string text;
  std::filesystem::path source;  // CopyToPort: the file; Ftp: the script
  std::filesystem::path log;     // Ftp
};

// The bytes of a file a batch line names: only one this run generated.
Result<const std::string*> generated(const GeneratedFiles& files,
                                     const std::filesystem::path& name) {
  if (const std::string* bytes = files.find(name)) return bytes;
  return Error{"ファイル「" + name.string() +
               "」はこの実行で作成されたものではないため使用できません"};
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
  for (std::string_view raw : splitLines(text)) {
    const std::vector<std::string> w = splitWords(raw);
    if (w.empty()) continue;
    BatchLine line{.kind = BatchLine::Kind::Ftp, .text = std::string(raw), .source = {}, .log = {}};
    if (!parseCopy(w, line) && !parseFtp(w, line))
      return Error{"バッチファイルの次の行は実行できません: " + std::string(raw)};
    lines.push_back(std::move(line));
  }
  return lines;
}

Status copyToPort(const BatchLine& line, const GeneratedFiles& files,
                  const BatchEnvironment& environment, RunControl& control) {
  auto bytes = generated(files, line.source);
  if (!bytes) return bytes.status();
  auto port = findParallelPort(environment.parallelDevices);
  if (!port) return port.status();
  const auto* data = reinterpret_cast<const std::uint8_t*>((*bytes)->data());
  return copyToDevice({data, (*bytes)->size()}, *port, control);
}

BatchRun runFtp(const BatchLine& line, const GeneratedFiles& files, RunControl& control) {
  const TransferFolder& folder = files.folder();
  const auto logName = files.nameInFolder(line.log);
  if (!logName)
    return {Error{"ファイル「" + line.log.string() + "」はプログラムフォルダの外にあります"}, {}};
  // The redirection creates the log before the client starts, as the command interpreter
  // does: afresh, so that nothing planted under its name receives the transcript.
  if (Status s = folder.checkReplaceable(*logName); !s) return {s, {}};
  auto log = folder.createPrivate(*logName, 0600);
  if (!log) return {log.status(), {}};
  if (Status s = log->publish(*logName); !s) return {s, {}};
  FtpTranscript transcript(log->fd());
  Status ran = [&]() -> Status {
    auto script = generated(files, line.source);
    if (!script) {
      transcript.line("Error opening script file " + line.source.string() + ".");
      return script.status();
    }
    auto commands = parseFtpScript(**script);
    if (!commands) {
      transcript.line(commands.message());
      return commands.status();
    }
    return runFtpCommands(*commands, files, transcript, control);
  }();
  const Status closed = log->close(*logName);
  if (ran && transcript.writeError() != 0)
    ran = Error{"ファイル「" + folder.pathOf(*logName).string() + "」に書き込めません（" +
                std::strerror(transcript.writeError()) + "）"};
  if (ran && !closed) ran = closed;
  return {ran, transcript.text()};
}

}  // namespace

BatchRun runGeneratedBatch(const GeneratedFiles& files, const std::filesystem::path& batch,
                           const BatchEnvironment& environment, RunControl& control) {
  auto bytes = generated(files, batch);
  if (!bytes) return {bytes.status(), {}};
  auto lines = parseBatch(**bytes);
  if (!lines) return {lines.status(), {}};
  BatchRun run;
  for (const BatchLine& line : *lines) {
    if (line.kind == BatchLine::Kind::CopyToPort) {
      run.ran = copyToPort(line, files, environment, control);
    } else {
      BatchRun ftp = runFtp(line, files, control);
      run.ran = std::move(ftp.ran);
      if (ftp.ftpTranscript) run.ftpTranscript = std::move(ftp.ftpTranscript);
    }
    if (!run.ran) break;
  }
  return run;
}

}  // namespace drovik::transport
