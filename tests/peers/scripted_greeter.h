// A hostile or odd FTP server for the discovery tests: on a loopback port of its own, it sends
// each caller the bytes it was given and then closes, keeps silent, or keeps sending. It keeps
// what callers send, so that a test can see that nothing but QUIT ever came.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "model/profile_store.h"
#include "peers/loopback_listener.h"

namespace drovik::test {

class ScriptedGreeter {
 public:
  enum class After { Close, Stall, Endless };
  // Endless sends the greeting again and again. On 127.0.0.1 and a port of the kernel's
  // choice unless told.
  ScriptedGreeter(std::string greeting, After after, const Ipv4Octets& address = {127, 0, 0, 1},
                  int port = 0);
  ~ScriptedGreeter();
  ScriptedGreeter(const ScriptedGreeter&) = delete;
  ScriptedGreeter& operator=(const ScriptedGreeter&) = delete;

  bool listening() const { return listener_.listening(); }
  int port() const { return listener_.port(); }
  const Ipv4Octets& address() const { return listener_.address(); }
  // Everything callers sent, in order.
  std::string received() const;
  // Waits until callers have sent `text` (true) or 10 s have passed.
  bool waitForReceived(const std::string& text) const;

 private:
  void serve();

  LoopbackListener listener_;
  std::string greeting_;
  After after_;
  int wake_[2] = {-1, -1};
  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::string received_;
  std::thread thread_;
};

}  // namespace drovik::test
