// A TCP listener on a loopback port of the kernel's choice, closed on destruction. The kernel
// completes connections in the listen queue whether or not anyone accepts them: left alone,
// it is a server that takes connections and never says a word.
#pragma once

namespace drovik::test {

class LoopbackListener {
 public:
  LoopbackListener();
  ~LoopbackListener();
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  bool listening() const { return port_ != 0; }
  int fd() const { return fd_; }
  int port() const { return port_; }

 private:
  int fd_;
  int port_ = 0;
};

}  // namespace drovik::test
