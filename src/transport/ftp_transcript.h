// The FTP client's transcript: written line by line (CR LF) to the log file for the record, and
// kept in memory as the run's own account, which is what the judgement reads. The login
// password never reaches the file: the client does not write it, and where a server echoes it
// into a reply, it is masked.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace drovik::transport {

class FtpTranscript {
 public:
  // fd: the log file, written but not owned; -1 for none.
  explicit FtpTranscript(int fd) : fd_(fd) {}

  // A line of the client's own making.
  void line(std::string_view text);
  // A line with the server's words in it: a reply, or an error that may quote one.
  void reply(std::string_view text);
  // A password about to be sent; masked in every later reply.
  void addSecret(std::string_view secret);
  // `text` with every password masked, its reply code (if it starts with one) kept.
  std::string masked(std::string_view text) const;

  // Every line followed by "\n", the replies as received (the judgement's text; it is never
  // written anywhere).
  const std::string& text() const { return text_; }
  // errno of the first failed write to the file, 0 if none.
  int writeError() const { return writeError_; }

 private:
  void write(std::string_view text);

  int fd_;
  std::vector<std::string> secrets_;
  std::string text_;
  int writeError_ = 0;
};

}  // namespace drovik::transport
