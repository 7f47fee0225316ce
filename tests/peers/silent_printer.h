// A printer that never answers: it takes connections on its own loopback address, port 21,
// and never sends the greeting. The connections wait in the listen queue until it closes.
#pragma once

#include "model/profile_store.h"

namespace drovik::test {

class SilentPrinter {
 public:
  SilentPrinter();
  ~SilentPrinter();
  SilentPrinter(const SilentPrinter&) = delete;
  SilentPrinter& operator=(const SilentPrinter&) = delete;
  bool listening() const { return fd_ >= 0; }
  const Ipv4Octets& address() const { return address_; }
  // Whether a client has connected and now waits for the greeting.
  bool hasCaller() const;

 private:
  int fd_ = -1;
  Ipv4Octets address_{};
};

}  // namespace drovik::test
