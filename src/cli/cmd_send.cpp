#include <algorithm>
#include <memory>

#include "cli/cancel_on_interrupt.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "command/command_preparation.h"
#include "history/recorder.h"
#include "transport/cups_route.h"
#include "transport/exclusive_transfer.h"
#include "transport/ftp_route.h"
#include "transport/ipv4_address.h"
#include "transport/parallel_route.h"
#include "transport/transport_messages.h"

namespace drovik::cli {
namespace {

// The port and network routes work through files in the data folder: one run at a time.
std::unique_ptr<transport::SendRoute> exclusive(const ProfileStore& store,
                                                std::unique_ptr<transport::SendRoute> route) {
  return std::make_unique<transport::ExclusiveRoute>(store.paths().programDir, std::move(route),
                                                     reportWaitingForTransfer);
}

// The route the options name; remembers the printer or the address as the send dialogs do,
// before anything is sent.
Result<std::unique_ptr<transport::SendRoute>> chooseRoute(const Args& args,
                                                          const ProfileStore& store) {
  if (const auto queue = args.option("--printer")) {
    auto printers = transport::listLocalPrinters();
    if (!printers) return printers.error();
    const bool listed = std::any_of(printers->begin(), printers->end(),
                                    [&](const auto& printer) { return printer.name == *queue; });
    if (!listed) return Error{"プリンタ「" + *queue + "」はありません。"};
    if (Status s = store.setPrinterDriverName(*queue); !s) return s.error();
    std::unique_ptr<transport::SendRoute> route = std::make_unique<transport::CupsRoute>(*queue);
    return route;
  }
  if (const auto address = args.option("--ftp")) {
    auto octets = transport::parseAddress(*address);
    if (!octets) return octets.error();
    if (Status s = store.setSendAddress(*octets); !s) return s.error();
    return exclusive(store,
                     std::make_unique<transport::FtpRoute>(store.paths().programDir, *octets));
  }
  return exclusive(store, std::make_unique<transport::ParallelRoute>(store.paths().programDir));
}

// Where the options send to, as the history names it.
std::string targetOf(const Args& args) {
  if (const auto queue = args.option("--printer")) return history::spoolerTarget(*queue);
  if (const auto address = args.option("--ftp"))
    return history::networkTarget(transport::dottedOctets(*transport::parseAddress(*address)));
  return std::string(history::kParallelTarget);
}

}  // namespace

int runSend(const Args& args) {
  const int routes = (args.option("--printer") ? 1 : 0) + (args.option("--ftp") ? 1 : 0) +
                     (args.has("--parallel") ? 1 : 0);
  if (routes != 1)
    return fail("送信方法を一つ指定してください。詳しくは drovik-cli send --help", kExitUsage);
  if (const auto address = args.option("--ftp"); address && !transport::parseAddress(*address))
    return fail(transport::parseAddress(*address).message(), kExitUsage);
  const auto timeout = timeoutOption(args);
  if (!timeout) return fail(timeout.message(), kExitUsage);
  auto paths = dataPaths(args);
  if (!paths) return fail(paths.message());
  const ProfileService service(*paths);
  // Read-only, as for the send dialog: the profile as stored, coded for its model type.
  ProfileModel model;
  ProfileEntry profile;
  auto prepared = service.prepareProfileCommand(model, args.operands[0], &profile);
  if (!prepared) return fail(prepared.message());
  printWarnings(prepared->warnings);

  auto route = chooseRoute(args, service.store());
  if (!route) return fail(route.message());
  transport::RunControl control(*timeout);
  const CancelOnInterrupt interrupt(control);
  const transport::SendOutcome outcome = (*route)->send(prepared->image.bytes, control);
  history::record(paths->lockFolder(),
                  history::delivery(history::operation::kSend, profile.section, profile.modelType,
                                    targetOf(args), prepared->image.bytes,
                                    history::deliveryOutcome(outcome.sent, outcome.queued),
                                    outcome.message, outcome.detail));
  const std::string told =
      outcome.message + (outcome.detail.empty() ? "" : "（" + outcome.detail + "）");
  if (outcome.delivery() == transport::Delivery::Failed) return fail(told);
  // The spooler has the job and prints it when it can: sending again would print it twice.
  if (outcome.delivery() == transport::Delivery::Queued) {
    printWarnings({told});
    return kExitOk;
  }
  if (!outcome.message.empty()) {
    if (Status s = writeOutput(outcome.message + "\n"); !s) return fail(s.message());
  }
  return kExitOk;
}

const Command kSendCommand = {
    .name = "send",
    .operands = {"NAME"},
    .options = {{"--printer", "QUEUE", "スプーラーのキュー QUEUE に送ります", Presence::OneOf},
                {"--parallel", "", "最初のパラレルポートに送ります", Presence::OneOf},
                {"--ftp", "A.B.C.D", "プリンタの FTP サーバーに送ります", Presence::OneOf},
                {"--timeout", "SECONDS", "プリンタを待つ時間の上限（既定 22 秒）"}},
    .notes = "  （--timeout はプリンタを待つ時間の上限。既定 22 秒）\n",
    .run = runSend,
};

}  // namespace drovik::cli
