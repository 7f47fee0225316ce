// drovik-cli fleet runs in a test's folder: the plan and its result file in plans/, the data
// folder the test's own.
#pragma once

#include <nlohmann/json.hpp>

#include "cli/cli_fixture.h"
#include "peers/printer_simulator.h"
#include "transport/ipv4_address.h"

namespace drovik::test {

inline PrinterSimulatorOptions printerOptions(std::string greeting, std::string password) {
  PrinterSimulatorOptions options;
  options.greeting = std::move(greeting);
  options.password = std::move(password);
  return options;
}

inline std::string ip(const Ipv4Octets& address) { return transport::dottedOctets(address); }

class FleetCli : public CliTest {
 protected:
  using json = nlohmann::json;

  FleetCli() { std::filesystem::create_directory(plans()); }
  std::filesystem::path plans() const { return dir / "plans"; }
  std::filesystem::path writePlan(const std::string& text) {
    writeFile(plans() / "fleet.csv", text);
    return plans() / "fleet.csv";
  }
  std::filesystem::path resultFile() const { return plans() / "fleet.result.json"; }
  json results() { return json::parse(readFile(resultFile())); }
  json rowOf(const json& document, const std::string& name) {
    for (const json& row : document["rows"])
      if (row["name"] == name) return row;
    ADD_FAILURE() << "no row " << name;
    return {};
  }
  // The command of a profile in the test's data folder.
  std::string command(const std::string& profile) {
    EXPECT_EQ(runIn({"generate", profile, "-o", (plans() / "cmd.sib").string()}).exitCode, 0);
    return readFile(plans() / "cmd.sib");
  }
};

}  // namespace drovik::test
