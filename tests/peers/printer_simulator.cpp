#include "peers/printer_simulator.h"

#include <unistd.h>

#include <random>

#include "transport/ipv4_address.h"

namespace drovik::test {

std::string sampleImage(const std::string& name) {
  return readFile(std::string(DROVIK_TEST_DATA_DIR) + "/corpus/nvram/" + name);
}

Ipv4Octets randomLoopbackAddress() {
  static std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<int> octet(2, 254);
  return {127, octet(random), octet(random), octet(random)};
}

PrinterSimulator::PrinterSimulator(PrinterSimulatorOptions options) {
  if (::geteuid() != 0) {
    needsRoot_ = true;
    problem_ = "the printer simulator listens on port 21, which needs root";
    return;
  }
  std::filesystem::create_directories(root_.path() / "pr_setup");
  writeFile(root_.path() / "pr_setup" / "nvr_all.bin", options.allImage);
  writeFile(root_.path() / "pr_setup" / "nvr_nw.bin", options.networkImage);
  if (options.allImageBytes > options.allImage.size())
    std::filesystem::resize_file(root_.path() / "pr_setup" / "nvr_all.bin", options.allImageBytes);
  // Another test may hold an address already: the simulator says so and another is tried.
  for (int attempt = 0; attempt < 10; ++attempt) {
    const bool fixed = !options.fixedAddresses.empty();
    address_ = fixed ? options.fixedAddresses.front() : randomLoopbackAddress();
    std::vector<std::string> argv{"/usr/bin/python3", DROVIK_PRINTER_SIM_PATH,
                                  "--address",        transport::dottedOctets(address_),
                                  "--root",           root_.path().string(),
                                  "--greeting",       options.greeting,
                                  "--password",       options.password,
                                  "--send-seconds",   std::to_string(options.sendSeconds)};
    if (options.refuseUploads) argv.push_back("--refuse-uploads");
    if (options.endlessDownloads) argv.push_back("--endless-downloads");
    if (options.echoPassword) argv.push_back("--echo-password");
    moreAddresses_.clear();
    if (fixed)
      moreAddresses_.assign(options.fixedAddresses.begin() + 1, options.fixedAddresses.end());
    for (int i = 0; !fixed && i < options.moreAddresses; ++i)
      moreAddresses_.push_back(randomLoopbackAddress());
    for (const Ipv4Octets& more : moreAddresses_)
      argv.insert(argv.end(), {"--also-address", transport::dottedOctets(more)});
    process_ = std::make_unique<PeerProcess>(argv, root_.path() / "simulator.err");
    if (process_->waitForLine("ready", std::chrono::seconds(10))) return;
    if (process_->waitForExit(std::chrono::seconds(2)) != 3 || fixed) break;
  }
  problem_ = "the printer simulator did not start: " + readFile(root_.path() / "simulator.err");
}

}  // namespace drovik::test
