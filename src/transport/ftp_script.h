// The FTP scripts the program generates, parsed for execution from the bytes it generated:
// the subset of the console FTP client's commands they use. After "open", the next two lines answer
// the client's prompts for the user name and the password.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/status.h"

namespace drovik::transport {

struct FtpCommand {
  enum class Kind { Open, Binary, Cd, Get, Put, Bye };
  Kind kind = Kind::Bye;
  std::string line;      // the script line, for the transcript
  std::string host;      // Open
  std::string user;      // Open: the line after it
  std::string password;  // Open: the line after the user
  std::string remote;    // Cd: directory; Get, Put: remote file
  std::string local;     // Get, Put: file in the working directory
};

// Parses a whole script (Shift-JIS bytes, CR LF or LF line ends). Refuses, naming the line,
// any command outside the subset, a host that is not a plain name or address, and a local
// file name that would leave the working directory, so that nothing runs from a bad script.
Result<std::vector<FtpCommand>> parseFtpScript(std::string_view script);

}  // namespace drovik::transport
