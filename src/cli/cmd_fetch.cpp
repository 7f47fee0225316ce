#include <termios.h>
#include <unistd.h>

#include <iostream>

#include "cli/cancel_on_interrupt.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "transport/ipv4_address.h"
#include "transport/nvram_decoder.h"
#include "transport/retrieval.h"
#include "transport/transport_messages.h"

namespace drovik::cli {
namespace {

// One line from standard input, never from the command line, where other users could see
// it; not echoed when typed at a terminal.
std::string readPassword() {
  const bool terminal = ::isatty(STDIN_FILENO);
  termios saved{};
  if (terminal && ::tcgetattr(STDIN_FILENO, &saved) == 0) {
    std::cerr << "パスワード: " << std::flush;
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string password;
  std::getline(std::cin, password);
  if (terminal) {
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << '\n';
  }
  if (!password.empty() && password.back() == '\r') password.pop_back();
  return password;
}

}  // namespace

int runFetch(const Args& args) {
  if (!expectOperands(args, 0, "[--data-dir DIR] fetch --ip A.B.C.D [--base NAME] [--into NAME]"))
    return kExitUsage;
  const auto ip = args.option("--ip");
  if (!ip) return fail("プリンタのIPアドレスを --ip A.B.C.D で指定してください。", kExitUsage);
  auto address = transport::parseAddress(*ip);
  if (!address) return fail(address.message(), kExitUsage);
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  const ProfileService service(*paths);
  // A profile to start from must exist before the printer is asked.
  if (const auto base = args.option("--base")) {
    if (auto slot = service.findProfile(*base); !slot) return fail(slot.message());
  }
  if (Status s = service.store().setRetrievalAddress(*address); !s) return fail(s.message());
  if (transport::isEmptyAddress(*address))
    return fail(std::string(transport::kEnterAddressMessage));

  const std::string password = readPassword();
  transport::RunControl control;
  // An interrupted retrieval still ends properly: the script with the password is emptied.
  const CancelOnInterrupt interrupt(control);
  const transport::RetrievalOutcome outcome =
      transport::retrievePrinterImages(paths->programDir, *address, password, control);
  if (!outcome.retrieved())
    return fail(outcome.message + (outcome.detail.empty() ? "" : "（" + outcome.detail + "）"));
  std::cerr << "drovik-cli: " << outcome.message << '\n';

  // From here on it is decode-nvram on the fetched images: same decoders, output and saving.
  Args decode = args;
  decode.command = "decode-nvram";
  decode.options.erase("--ip");
  decode.options["--all"] = (paths->programDir / nvram::kAllImageFileName).string();
  decode.options["--nw"] = (paths->programDir / nvram::kNetworkImageFileName).string();
  return runDecodeNvram(decode);
}

}  // namespace drovik::cli
