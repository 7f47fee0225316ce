#include <algorithm>

#include "cli/cancel_on_interrupt.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "command/command_preparation.h"
#include "transport/cups_route.h"
#include "transport/delivery.h"
#include "transport/ipv4_address.h"

namespace drovik::cli {
namespace {

// The target the options name; a queue must be one of the spooler's.
Result<transport::Target> chooseTarget(const Args& args) {
  if (const auto queue = args.option("--printer")) {
    auto printers = transport::listLocalPrinters();
    if (!printers) return printers.error();
    const bool listed = std::any_of(printers->begin(), printers->end(),
                                    [&](const auto& printer) { return printer.name == *queue; });
    if (!listed) return Error{"プリンタ「" + *queue + "」はありません。"};
    return transport::Target::spooler(*queue);
  }
  if (const auto address = args.option("--ftp")) {
    auto octets = transport::parseAddress(*address);
    if (!octets) return octets.error();
    return transport::Target::network(*octets);
  }
  return transport::Target::parallel();
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

  auto target = chooseTarget(args);
  if (!target) return fail(target.message());
  transport::RunControl control(*timeout);
  const CancelOnInterrupt interrupt(control);
  const transport::CommandDelivery delivery(
      service.store(),
      transport::DeliverySettings::inDataFolder(service.store(), reportWaitingForTransfer));
  const transport::SendOutcome outcome = delivery.deliver(
      *target, {profile.section, profile.modelType, prepared->image.bytes}, control);
  const std::string told = outcome.told();
  if (outcome.delivery == transport::Delivery::Failed) return fail(told);
  // The spooler has the job and prints it when it can: sending again would print it twice.
  if (outcome.delivery == transport::Delivery::Queued) {
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
