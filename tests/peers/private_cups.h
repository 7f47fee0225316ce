// A print spooler of the tests' own: cupsd with its own configuration folder, listening on a
// loopback port, and what a queue's device receives, captured by a TCP listener.
#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "peers/peer_process.h"
#include "support/temp_dir.h"

namespace drovik::test {

// How a queue treats its device.
struct QueueSetup {
  std::string errorPolicy;  // printer-error-policy; the spooler's default when empty
  int connectSeconds = 5;   // how long the device is tried before the job fails
};

class PrivateCups {
 public:
  PrivateCups();
  // Empty when it runs; otherwise why not.
  const std::string& problem() const { return problem_; }
  // "127.0.0.1:PORT", for CUPS_SERVER. Also made this process's spooler, for every thread.
  const std::string& server() const { return server_; }
  // Adds an enabled raw queue whose device is socket://127.0.0.1:port.
  bool addQueue(const std::string& name, int devicePort, const QueueSetup& setup = {});

 private:
  TempDir dir_;
  std::string server_;
  std::unique_ptr<PeerProcess> daemon_;
  std::string problem_;
};

// Accepts one connection on a loopback port and keeps everything that arrives.
class ByteCapture {
 public:
  ByteCapture();
  ~ByteCapture();
  ByteCapture(const ByteCapture&) = delete;
  ByteCapture& operator=(const ByteCapture&) = delete;
  int port() const { return port_; }
  // The bytes of the first connection, once its sender closed it (or what came until then).
  std::string bytes(std::chrono::milliseconds timeout);

 private:
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> finished_{false};
  std::mutex mutex_;
  std::string bytes_;
  std::thread thread_;
};

// A loopback port nothing listens on, most likely (the kernel's choice of a free one).
int unusedLoopbackPort();

}  // namespace drovik::test
