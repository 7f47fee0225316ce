#include "transport/ftp_session.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "transport/curl_library.h"

namespace drovik::transport {
namespace {

// Longest single wait in a transfer; timeouts and cancel requests are checked in between.
constexpr int kPollSliceMs = 10;

class Transcript {
 public:
  explicit Transcript(std::FILE* file) : file_(file) {}
  void line(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fputs("\r\n", file_);
    std::fflush(file_);
  }
  // Protocol lines as curl hands them over: possibly several, each with its own line end.
  void protocolLines(std::string_view data, std::string_view prefix) {
    while (!data.empty()) {
      std::size_t end = data.find('\n');
      std::string_view text = data.substr(0, end);
      if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
      // The password stays out of the log, which is kept and read by others.
      if (text.size() >= 4 && (text.substr(0, 4) == "PASS" || text.substr(0, 4) == "pass"))
        text = "PASS ****";
      line(std::string(prefix) + std::string(text));
      if (end == std::string_view::npos) break;
      data.remove_prefix(end + 1);
    }
  }

 private:
  std::FILE* file_;
};

int onDebug(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
  auto* transcript = static_cast<Transcript*>(user);
  if (type == CURLINFO_HEADER_IN) transcript->protocolLines({data, size}, "");
  if (type == CURLINFO_HEADER_OUT) transcript->protocolLines({data, size}, "---> ");
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

std::size_t onWrite(char* data, std::size_t size, std::size_t count, void* user) {
  return std::fwrite(data, size, count, static_cast<std::FILE*>(user));
}

std::size_t onRead(char* data, std::size_t size, std::size_t count, void* user) {
  return std::fread(data, size, count, static_cast<std::FILE*>(user));
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

class FtpSession {
 public:
  FtpSession(const CurlLibrary& api, const std::filesystem::path& workDir, std::FILE* transcript,
             RunControl& control)
      : api_(api), workDir_(workDir), transcript_(transcript), control_(control) {}
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
  void fail(const std::string& text) {
    transcript_.line(text);
    if (firstFailure_.empty()) firstFailure_ = text;
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
    // Connecting and logging in happen here, as in the console client, so that the greeting
    // and a refused login reach the transcript even when no transfer follows.
    loggedIn_ = perform(directoryUrl(directory_), Request::Probe, nullptr, 0);
    if (loggedIn_) transcript_.line("Connected to " + host_ + ".");
  }

  void changeDirectory(const std::string& path) {
    std::vector<std::string> target =
        path.starts_with('/') ? std::vector<std::string>{} : directory_;
    if (path.starts_with('/')) target.push_back("");  // marks an absolute path
    appendParts(target, path);
    if (perform(directoryUrl(target), Request::Probe, nullptr, 0)) directory_ = std::move(target);
  }

  void get(const std::string& remote, const std::string& local) {
    // The file appears under its name only when complete: a broken transfer must not leave a
    // truncated image that a later step would take for the printer's.
    std::string temporary = (workDir_ / ("." + local + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
      fail("ftp: cannot create " + local + ".");
      return;
    }
    ::fchmod(fd, 0644);  // an image like any other file, not the private temporary's 0600
    FilePtr file(::fdopen(fd, "wb"));
    if (!file) {
      ::close(fd);
      ::unlink(temporary.c_str());
      fail("ftp: cannot create " + local + ".");
      return;
    }
    const auto start = std::chrono::steady_clock::now();
    bool ok = perform(fileUrl(remote), Request::Download, file.get(), 0);
    ok = std::fclose(file.release()) == 0 && ok;
    std::error_code ec;
    if (ok) std::filesystem::rename(temporary, workDir_ / local, ec);
    if (!ok || ec) {
      std::filesystem::remove(temporary, ec);
      if (ok) fail("ftp: cannot write " + local + ".");
      return;
    }
    reportBytes("received", std::filesystem::file_size(workDir_ / local, ec), start);
  }

  void put(const std::string& local, const std::string& remote) {
    const std::filesystem::path path = workDir_ / local;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    FilePtr file(ec ? nullptr : std::fopen(path.c_str(), "rb"));
    if (!file) {
      fail(local + ": File not found");
      return;
    }
    const auto start = std::chrono::steady_clock::now();
    if (perform(fileUrl(remote), Request::Upload, file.get(), static_cast<curl_off_t>(size)))
      reportBytes("sent", size, start);
  }

  enum class Request { Probe, Download, Upload };

  bool perform(const std::string& url, Request request, std::FILE* file, curl_off_t size) {
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
    api_.easySetopt(curl_, CURLOPT_WRITEFUNCTION, onWrite);
    api_.easySetopt(curl_, CURLOPT_WRITEDATA, request == Request::Download ? file : nullptr);
    api_.easySetopt(curl_, CURLOPT_READFUNCTION, onRead);
    api_.easySetopt(curl_, CURLOPT_READDATA, request == Request::Upload ? file : nullptr);
    api_.easySetopt(curl_, CURLOPT_INFILESIZE_LARGE, request == Request::Upload ? size : -1);
    errorText_[0] = '\0';
    const CURLcode code = transfer();
    if (code == CURLE_OK) return true;
    const std::string why = errorText_[0] ? errorText_ : api_.easyStrerror(code);
    fail("ftp: " + why);
    // Without a usable control connection the console client answers "Not connected."
    if (!isReplyFailure(code)) loggedIn_ = false;
    return false;
  }

  // Runs the prepared request. The session's connections live in the multi handle, so that
  // the control connection is reused. Waits are kept short: libcurl's own blocking transfer
  // can sit a whole second before it connects the data stream of a reused session.
  CURLcode transfer() {
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
  std::filesystem::path workDir_;
  Transcript transcript_;
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

Status runFtpCommands(const std::vector<FtpCommand>& commands, const std::filesystem::path& workDir,
                      std::FILE* transcript, RunControl& control) {
  auto api = curlLibrary();
  if (!api) {
    std::fprintf(transcript, "ftp: %s\r\n", api.message().c_str());
    return api.status();
  }
  FtpSession session(**api, workDir, transcript, control);
  return session.run(commands);
}

}  // namespace drovik::transport
