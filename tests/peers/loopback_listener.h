// A TCP listener on a loopback port of the kernel's choice, closed on destruction. The kernel
// completes connections in the listen queue whether or not anyone accepts them: left alone,
// it is a server that takes connections and never says a word.
#pragma once

#include "model/profile_store.h"

namespace drovik::test {

class LoopbackListener {
 public:
  LoopbackListener() : LoopbackListener({127, 0, 0, 1}) {}
  // On another loopback address, on `port` or (0) one of the kernel's choice.
  explicit LoopbackListener(const Ipv4Octets& address, int port = 0);
  ~LoopbackListener();
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  bool listening() const { return port_ != 0; }
  int fd() const { return fd_; }
  int port() const { return port_; }
  const Ipv4Octets& address() const { return address_; }

 private:
  int fd_;
  int port_ = 0;
  Ipv4Octets address_;
};

}  // namespace drovik::test
