#include "transport/ftp_session.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

#include "transport/curl_library.h"
#include "transport/script_words.h"

namespace drovik::transport {
namespace {

// Longest single wait in a transfer; timeouts and cancel requests are checked in between.
constexpr int kPollSliceMs = 10;

int onDebug(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
  auto* transcript = static_cast<FtpTranscript*>(user);
  if (type == CURLINFO_HEADER_IN)
    for (std::string_view text : splitLines({data, size})) transcript->reply(text);
  if (type == CURLINFO_HEADER_OUT) {
    for (std::string_view text : splitLines({data, size})) {
      // The client never writes the password.
      const bool pass =
          text.size() >= 4 && (text.substr(0, 4) == "PASS" || text.substr(0, 4) == "pass");
      transcript->line("---> " + std::string(pass ? "PASS ****" : text));
    }
  }
  return 0;
}

int onProgress(void* user, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal,
               curl_off_t ulNow) {
  auto* control = static_cast<RunControl*>(user);
  if (ulTotal > 0 || ulNow > 0)
    control->reportProgress(static_cast<std::uint64_t>(ulNow), static_cast<std::uint64_t>(ulTotal));
  else
    control->reportProgress(static_cast<std::uint64_t>(dlNow), static_cast<std::uint64_t>(dlTotal));
  return control->shouldStop() ? 1 : 0;
}

// The data side of one request: what an upload sends, where a download goes.
struct Transfer {
  std::string_view upload;
  std::size_t sent = 0;
  PrivateFile* download = nullptr;
  std::uint64_t received = 0;
  bool tooLarge = false;
  int writeError = 0;
};

std::size_t onWrite(char* data, std::size_t size, std::size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  if (!transfer->download) return 0;
  // Servers that announce no size are stopped here, before the file outgrows any image.
  if (transfer->received + bytes > kMaxDownloadBytes) {
    transfer->tooLarge = true;
    return 0;
  }
  if (!transfer->download->writeAll({data, bytes})) {
    transfer->writeError = errno;
    return 0;
  }
  transfer->received += bytes;
  return bytes;
}

std::size_t onRead(char* data, std::size_t size, std::size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const std::size_t bytes = std::min(size * count, transfer->upload.size() - transfer->sent);
  std::memcpy(data, transfer->upload.data() + transfer->sent, bytes);
  transfer->sent += bytes;
  return bytes;
}

class FtpSession {
 public:
  FtpSession(const CurlLibrary& api, const GeneratedFiles& files, FtpTranscript& transcript,
             RunControl& control)
      : api_(api), files_(files), transcript_(transcript), control_(control) {}
  ~FtpSession() { disconnect(); }

  Status run(const std::vector<FtpCommand>& commands) {
    for (const FtpCommand& command : commands) {
      // The prompts' answers are not echoed, the password least of all.
      transcript_.line("ftp> " + command.line);
      if (control_.shouldStop()) {
        fail(control_.cancelled() ? "ftp: cancelled." : "ftp: timed out.");
        continue;
      }
      switch (command.kind) {
        case FtpCommand::Kind::Open:
          open(command);
          break;
        case FtpCommand::Kind::Binary:
          break;  // every transfer is binary
        case FtpCommand::Kind::Cd:
          if (requireConnection()) changeDirectory(command.remote);
          break;
        case FtpCommand::Kind::Get:
          if (requireConnection()) get(command.remote, command.local);
          break;
        case FtpCommand::Kind::Put:
          if (requireConnection()) put(command.local, command.remote);
          break;
        case FtpCommand::Kind::Bye:
          disconnect();
          break;
      }
    }
    disconnect();
    return firstFailure_.empty() ? Status{} : Status{Error{firstFailure_}};
  }

 private:
  // A text that may quote the server (curl's error text) is masked like a reply, in the
  // result as well.
  void fail(const std::string& text, bool quotesServer = false) {
    if (quotesServer)
      transcript_.reply(text);
    else
      transcript_.line(text);
    if (firstFailure_.empty()) firstFailure_ = quotesServer ? transcript_.masked(text) : text;
  }

  bool requireConnection() {
    if (curl_ && loggedIn_) return true;
    fail("Not connected.");
    return false;
  }

  void open(const FtpCommand& command) {
    disconnect();
    curl_ = api_.easyInit();
    multi_ = api_.multiInit();
    if (!curl_ || !multi_) {
      fail("ftp: cannot start a session.");
      return;
    }
    host_ = command.host;
    directory_.clear();
    api_.easySetopt(curl_, CURLOPT_PROTOCOLS_STR, "ftp");
    api_.easySetopt(curl_, CURLOPT_NOSIGNAL, 1L);
    api_.easySetopt(curl_, CURLOPT_USERNAME, command.user.c_str());
    api_.easySetopt(curl_, CURLOPT_PASSWORD, command.password.c_str());
    transcript_.addSecret(command.password);
    api_.easySetopt(curl_, CURLOPT_VERBOSE, 1L);
    api_.easySetopt(curl_, CURLOPT_DEBUGFUNCTION, onDebug);
    api_.easySetopt(curl_, CURLOPT_DEBUGDATA, &transcript_);
    api_.easySetopt(curl_, CURLOPT_NOPROGRESS, 0L);
    api_.easySetopt(curl_, CURLOPT_XFERINFOFUNCTION, onProgress);
    api_.easySetopt(curl_, CURLOPT_XFERINFODATA, &control_);
    api_.easySetopt(curl_, CURLOPT_ERRORBUFFER, errorText_);
    api_.easySetopt(curl_, CURLOPT_SERVER_RESPONSE_TIMEOUT, kFtpReplyTimeoutSeconds);
    // A transfer that stalls ends before the overall limit runs out.
    api_.easySetopt(curl_, CURLOPT_LOW_SPEED_LIMIT, 1L);
    api_.easySetopt(curl_, CURLOPT_LOW_SPEED_TIME, kFtpReplyTimeoutSeconds);
    // A server that announces a larger file is refused before it sends anything.
    api_.easySetopt(curl_, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxDownloadBytes));
    api_.easySetopt(curl_, CURLOPT_WRITEFUNCTION, onWrite);
    api_.easySetopt(curl_, CURLOPT_READFUNCTION, onRead);
    // Connecting and logging in happen here, as in the console client, so that the greeting
    // and a refused login reach the transcript even when no transfer follows.
    Transfer none;
    loggedIn_ = perform(directoryUrl(directory_), Request::Probe, none);
    if (loggedIn_) transcript_.line("Connected to " + host_ + ".");
  }

  void changeDirectory(const std::string& path) {
    std::vector<std::string> target =
        path.starts_with('/') ? std::vector<std::string>{} : directory_;
    if (path.starts_with('/')) target.push_back("");  // marks an absolute path
    appendParts(target, path);
    Transfer none;
    if (perform(directoryUrl(target), Request::Probe, none)) directory_ = std::move(target);
  }

  void get(const std::string& remote, const std::string& local) {
    // The file appears under its name only when complete: a broken or refused transfer must
    // not leave a truncated or oversized image that a later step would take for the printer's.
    const TransferFolder& folder = files_.folder();
    if (Status free = folder.checkReplaceable(local); !free) {
      fail("ftp: " + free.message());
      return;
    }
    auto file = folder.createPrivate(local, 0600);
    if (!file) {
      fail("ftp: cannot create " + local + ".");
      return;
    }
    Transfer transfer;
    transfer.download = &*file;
    const auto start = std::chrono::steady_clock::now();
    if (!perform(fileUrl(remote), Request::Download, transfer)) return;
    // An image like any other file once complete, not the private temporary's 0600.
    Status kept =
        ::fchmod(file->fd(), 0644) == 0 ? file->close(local) : Status{Error{std::strerror(errno)}};
    if (kept) kept = file->publish(local);
    if (!kept) {
      fail("ftp: cannot write " + local + ".");
      return;
    }
    reportBytes("received", transfer.received, start);
  }

  void put(const std::string& local, const std::string& remote) {
    const std::string* bytes = files_.find(local);
    if (!bytes) {
      fail(local + ": File not found");
      return;
    }
    Transfer transfer;
    transfer.upload = *bytes;
    const auto start = std::chrono::steady_clock::now();
    if (perform(fileUrl(remote), Request::Upload, transfer))
      reportBytes("sent", bytes->size(), start);
  }

  enum class Request { Probe, Download, Upload };

  bool perform(const std::string& url, Request request, Transfer& transfer) {
    const long remaining = static_cast<long>(control_.remaining().count());
    if (remaining <= 0) {
      fail("ftp: timed out.");
      return false;
    }
    api_.easySetopt(curl_, CURLOPT_URL, url.c_str());
    api_.easySetopt(curl_, CURLOPT_TIMEOUT_MS, remaining);
    api_.easySetopt(curl_, CURLOPT_CONNECTTIMEOUT_MS, std::min(remaining, kFtpConnectTimeoutMs));
    api_.easySetopt(curl_, CURLOPT_NOBODY, request == Request::Probe ? 1L : 0L);
    api_.easySetopt(curl_, CURLOPT_UPLOAD, request == Request::Upload ? 1L : 0L);
    api_.easySetopt(curl_, CURLOPT_WRITEDATA, &transfer);
    api_.easySetopt(curl_, CURLOPT_READDATA, &transfer);
    api_.easySetopt(curl_, CURLOPT_INFILESIZE_LARGE,
                    request == Request::Upload ? static_cast<curl_off_t>(transfer.upload.size())
                                               : curl_off_t{-1});
    errorText_[0] = '\0';
    const CURLcode code = runRequest();
    if (code == CURLE_OK) return true;
    if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
      fail("ftp: the file is larger than " + std::to_string(kMaxDownloadBytes) +
           " bytes; the transfer was stopped and nothing of it was kept.");
    else if (transfer.writeError != 0)
      fail("ftp: cannot write the file (" + std::string(std::strerror(transfer.writeError)) + ").");
    else
      fail("ftp: " + std::string(errorText_[0] ? errorText_ : api_.easyStrerror(code)), true);
    // Without a usable control connection the console client answers "Not connected."
    if (!isReplyFailure(code)) loggedIn_ = false;
    return false;
  }

  // Runs the prepared request. The session's connections live in the multi handle, so that
  // the control connection is reused. Waits are kept short: libcurl's own blocking transfer
  // can sit a whole second before it connects the data stream of a reused session.
  CURLcode runRequest() {
    if (api_.multiAddHandle(multi_, curl_) != CURLM_OK) return CURLE_FAILED_INIT;
    int running = 1;
    while (running > 0) {
      if (api_.multiPerform(multi_, &running) != CURLM_OK) break;
      if (running > 0 && api_.multiPoll(multi_, nullptr, 0, kPollSliceMs, nullptr) != CURLM_OK)
        break;
    }
    CURLcode result = CURLE_FAILED_INIT;
    int left = 0;
    while (CURLMsg* message = api_.multiInfoRead(multi_, &left))
      if (message->msg == CURLMSG_DONE && message->easy_handle == curl_)
        result = message->data.result;
    api_.multiRemoveHandle(multi_, curl_);
    return result;
  }

  // The server refused one request; the session itself goes on.
  static bool isReplyFailure(CURLcode code) {
    return code == CURLE_REMOTE_FILE_NOT_FOUND || code == CURLE_REMOTE_ACCESS_DENIED ||
           code == CURLE_FTP_COULDNT_RETR_FILE || code == CURLE_UPLOAD_FAILED ||
           code == CURLE_QUOTE_ERROR;
  }

  void reportBytes(const char* verb, std::uintmax_t bytes,
                   std::chrono::steady_clock::time_point start) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char text[128];
    std::snprintf(text, sizeof text, "ftp: %ju bytes %s in %.2fSeconds %.2fKbytes/sec.", bytes,
                  verb, seconds, seconds > 0 ? static_cast<double>(bytes) / 1000.0 / seconds : 0.0);
    transcript_.line(text);
  }

  void disconnect() {
    if (curl_) api_.easyCleanup(curl_);
    if (multi_) api_.multiCleanup(multi_);  // closes the control connection with QUIT
    curl_ = nullptr;
    multi_ = nullptr;
    loggedIn_ = false;
  }

  static void appendParts(std::vector<std::string>& parts, const std::string& path) {
    std::size_t start = 0;
    while (start <= path.size()) {
      const std::size_t slash = std::min(path.find('/', start), path.size());
      if (slash > start) parts.push_back(path.substr(start, slash - start));
      start = slash + 1;
    }
  }

  std::string escaped(const std::string& part) const {
    if (part.empty()) return "%2F";  // the absolute-path marker
    char* text = api_.easyEscape(curl_, part.data(), static_cast<int>(part.size()));
    std::string result = text ? text : "";
    api_.free(text);
    return result;
  }

  std::string directoryUrl(const std::vector<std::string>& parts) const {
    std::string url = "ftp://" + host_ + "/";
    for (const std::string& part : parts) url += escaped(part) + "/";
    return url;
  }

  std::string fileUrl(const std::string& remote) const {
    std::vector<std::string> parts = directory_;
    appendParts(parts, remote);
    std::string url = directoryUrl(parts);
    url.pop_back();  // the last part is the file
    return url;
  }

  const CurlLibrary& api_;
  const GeneratedFiles& files_;
  FtpTranscript& transcript_;
  RunControl& control_;
  CURL* curl_ = nullptr;
  CURLM* multi_ = nullptr;
  bool loggedIn_ = false;
  std::string host_;
  std::vector<std::string> directory_;
  std::string firstFailure_;
  char errorText_[CURL_ERROR_SIZE] = {};
};

}  // namespace

Status runFtpCommands(const std::vector<FtpCommand>& commands, const GeneratedFiles& files,
                      FtpTranscript& transcript, RunControl& control) {
  auto api = curlLibrary();
  if (!api) {
    transcript.line("ftp: " + api.message());
    return api.status();
  }
  FtpSession session(**api, files, transcript, control);
  return session.run(commands);
}

}  // namespace drovik::transport
