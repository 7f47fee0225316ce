// The printer's FTP side for the tests: the simulator script on a loopback address of its own,
// port 21, as the printer has no setting for another port (binding it needs root).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/profile_store.h"
#include "peers/peer_process.h"
#include "support/temp_dir.h"

namespace drovik::test {

// An NVRAM image of the test data's corpus.
std::string sampleImage(const std::string& name);

struct PrinterSimulatorOptions {
  std::string greeting = "8630-H05 FTP server ready.";
  std::string password = "secret";
  // Served as pr_setup/nvr_all.bin and pr_setup/nvr_nw.bin; a real old printer's images.
  std::string allImage = sampleImage("rnvr_all_1758.bin");
  std::string networkImage = sampleImage("rnvr_nw_13.bin");
  double sendSeconds = 0;  // delay before each file's data
  // nvr_all.bin grown (sparse) to this many bytes when larger than allImage; SIZE tells it.
  std::uintmax_t allImageBytes = 0;
  // Hostile printers: 553 for every upload; data without end (and no size) for every
  // download; the password repeated in every reply once sent.
  bool refuseUploads = false;
  bool endlessDownloads = false;
  bool echoPassword = false;
  // More printers of the same kind served by the same process, each on an address of its own;
  // they share the files (what one receives, the others show).
  int moreAddresses = 0;
  // Instead of random addresses: exactly these (the first is address(), the others
  // moreAddresses()), for a test that sweeps a block of its own.
  std::vector<Ipv4Octets> fixedAddresses;
};

class PrinterSimulator {
 public:
  explicit PrinterSimulator(PrinterSimulatorOptions options);
  // Empty when it runs; otherwise why not (GTEST_SKIP when not root, else a failure).
  const std::string& problem() const { return problem_; }
  bool needsRoot() const { return needsRoot_; }
  const Ipv4Octets& address() const { return address_; }
  const std::vector<Ipv4Octets>& moreAddresses() const { return moreAddresses_; }
  // A file the printer received.
  std::filesystem::path uploaded(const std::string& name) const { return root_.path() / name; }

 private:
  TempDir root_;
  Ipv4Octets address_{};
  std::vector<Ipv4Octets> moreAddresses_;
  std::unique_ptr<PeerProcess> process_;
  std::string problem_;
  bool needsRoot_ = false;
};

// For a test body: skips where the simulator cannot bind its address (not root), fails when it
// did not start for another reason.
#define DROVIK_START_OR_SKIP(simulator)                               \
  if ((simulator).needsRoot()) GTEST_SKIP() << (simulator).problem(); \
  ASSERT_EQ((simulator).problem(), "")

// A loopback address (127.x.y.z, never 127.0.0.1) that nothing listens on, most likely.
Ipv4Octets randomLoopbackAddress();

}  // namespace drovik::test
