#include "cli/cli_support.h"
#include "cli/commands.h"
#include "transport/cups_route.h"

namespace drovik::cli {

int runPrinters(const Args& args) {
  if (!expectOperands(args, 0, "[--data-dir DIR] printers")) return kExitUsage;
  auto printers = transport::listLocalPrinters();
  if (!printers) return fail(printers.message());
  std::string out;
  for (const auto& printer : *printers) out += printer.name + "\t" + printer.port + "\n";
  if (Status s = writeOutput(out); !s) return fail(s.message());
  return kExitOk;
}

}  // namespace drovik::cli
