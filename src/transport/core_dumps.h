// A process that holds a printer password must not leave it behind in a core dump.
#pragma once

namespace drovik::transport {

// From now on until the process ends: no core dump is written, and other processes of the
// same user cannot read this one's memory. Freed copies of the password may linger in the
// heap, so there is no switching back.
void keepOutOfCoreDumps();

}  // namespace drovik::transport
