#include "history/origin.h"

#include <errno.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#ifndef DROVIK_HISTORY_PROGRAM_VERSION
#error "the build passes the project version as DROVIK_HISTORY_PROGRAM_VERSION"
#endif

namespace drovik::history {
namespace {

std::string loginName() {
  const uid_t uid = ::geteuid();
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
    return found->pw_name;
  // An account the password database does not know (a container's uid): its number says who.
  return std::to_string(uid);
}

std::string hostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

}  // namespace

const Origin& thisProcess() {
  static const Origin origin{
      loginName(), hostName(),
      std::string(program_invocation_short_name) + " " + DROVIK_HISTORY_PROGRAM_VERSION};
  return origin;
}

}  // namespace drovik::history
