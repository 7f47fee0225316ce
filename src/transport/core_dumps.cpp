#include "transport/core_dumps.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace drovik::transport {

void keepOutOfCoreDumps() {
  ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
  // The flag stops a dump to a handler program as well; the limit is for a system whose dump
  // settings let unreadable processes dump anyway (suid_dumpable).
  rlimit core{};
  if (::getrlimit(RLIMIT_CORE, &core) == 0) {
    core.rlim_cur = 0;
    ::setrlimit(RLIMIT_CORE, &core);
  }
}

}  // namespace drovik::transport
