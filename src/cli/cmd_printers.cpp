#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/json_output.h"
#include "transport/cups_route.h"

namespace drovik::cli {

namespace {

std::string lines(const std::vector<transport::PrinterEntry>& printers) {
  std::string out;
  for (const auto& printer : printers) out += printer.name + "\t" + printer.port + "\n";
  return out;
}

std::string json(const std::vector<transport::PrinterEntry>& printers) {
  Json array = Json::array();
  for (const auto& printer : printers)
    array.push_back({{"name", printer.name}, {"device_uri", printer.port}});
  return jsonText(array);
}

}  // namespace

int runPrinters(const Args& args) {
  auto printers = transport::listLocalPrinters();
  if (!printers) return fail(printers.message());
  if (Status s = writeOutput(args.has("--json") ? json(*printers) : lines(*printers)); !s)
    return fail(s.message());
  return kExitOk;
}

const Command kPrintersCommand = {
    .name = "printers",
    .options = {{"--json", "", "JSON で出力します"}},
    .run = runPrinters,
};

}  // namespace drovik::cli
