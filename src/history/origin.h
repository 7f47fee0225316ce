// Who writes a record: the account, the machine and the program with its version.
#pragma once

#include <string>

namespace drovik::history {

struct Origin {
  std::string user;     // login name of the account the program runs as
  std::string host;     // host name
  std::string program;  // the program's name as started and its version: "drovik-cli 0.1.0"
};

// This process's origin, found once.
const Origin& thisProcess();

}  // namespace drovik::history
