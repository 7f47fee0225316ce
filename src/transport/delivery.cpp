#include "transport/delivery.h"

#include <optional>

#include "history/recorder.h"
#include "transport/command_file_route.h"
#include "transport/cups_route.h"
#include "transport/exclusive_transfer.h"
#include "transport/ftp_route.h"
#include "transport/ipv4_address.h"
#include "transport/parallel_route.h"

namespace drovik::transport {

std::unique_ptr<SendRoute> realRoute(const Target& target, const std::filesystem::path& folder) {
  switch (target.kind) {
    case Target::Kind::Spooler:
      return std::make_unique<CupsRoute>(target.queue);
    case Target::Kind::Network:
      return std::make_unique<FtpRoute>(folder, target.address);
    case Target::Kind::CommandFile:
      return std::make_unique<CommandFileRoute>(target.file);
    case Target::Kind::Parallel:
      break;
  }
  return std::make_unique<ParallelRoute>(folder);
}

DeliverySettings DeliverySettings::inDataFolder(const ProfileStore& store, WaitNotice notice) {
  DeliverySettings settings;
  settings.transferFolder = store.paths().programDir;
  settings.waitNotice = std::move(notice);
  return settings;
}

DeliverySettings DeliverySettings::forFleetRow(const std::filesystem::path& workFolder) {
  DeliverySettings settings;
  settings.transferFolder = workFolder;
  settings.exclusive = false;
  settings.rememberChoice = false;
  settings.sendOperation = history::operation::kFleetSend;
  return settings;
}

CommandDelivery::CommandDelivery(const ProfileStore& store, DeliverySettings settings)
    : store_(store), settings_(std::move(settings)) {}

SendOutcome CommandDelivery::deliver(const Target& target, const DeliveredCommand& command,
                                     RunControl& control) const {
  // The low byte of an octet past 255 would be another printer.
  if (target.kind == Target::Kind::Network) {
    if (Status usable = checkAddress(target.address); !usable)
      return SendOutcome::failed(usable.message());
  }
  std::optional<LockedTransfer> locked;
  if (settings_.exclusive && target.usesTransferFiles()) {
    locked.emplace(settings_.transferFolder, control, settings_.waitNotice);
    if (!locked->held()) {
      const SendOutcome refused = SendOutcome::failed(locked->refusal());
      record(target, command, refused);
      return refused;
    }
  }
  if (Status remembered = remember(target); !remembered)
    return SendOutcome::failed(remembered.message());
  const SendOutcome outcome = send(target, command.image, locked ? locked->control() : control);
  record(target, command, outcome);
  return outcome;
}

// Written only when it changes: the send dialogs remember the pick as soon as it is made.
Status CommandDelivery::remember(const Target& target) const {
  if (!settings_.rememberChoice || store_.readOnly()) return {};
  if (target.kind == Target::Kind::Spooler) {
    if (auto stored = store_.printerDriverName(); stored && *stored == target.queue) return {};
    return store_.setPrinterDriverName(target.queue);
  }
  if (target.kind == Target::Kind::Network) {
    if (auto stored = store_.sendAddress(); stored && *stored == target.address) return {};
    return store_.setSendAddress(target.address);
  }
  return {};
}

SendOutcome CommandDelivery::send(const Target& target, std::span<const std::uint8_t> image,
                                  RunControl& control) const {
  return settings_.routes(target, settings_.transferFolder)->send(image, control);
}

void CommandDelivery::record(const Target& target, const DeliveredCommand& command,
                             const SendOutcome& outcome) const {
  if (store_.readOnly()) return;
  std::string_view operation = settings_.sendOperation;
  std::string where = target.text();
  if (target.kind == Target::Kind::CommandFile) {
    operation = history::operation::kCommandFile;
    // The record names the file wherever it was named from.
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(target.file, ec);
    where = (ec ? target.file : absolute).string();
  }
  const std::string_view result = outcome.delivery == Delivery::Failed   ? history::kOutcomeFailed
                                  : outcome.delivery == Delivery::Queued ? history::kOutcomeQueued
                                                                         : history::kOutcomeOk;
  history::record(store_.paths().lockFolder(),
                  history::delivery(operation, command.profile, command.model, std::move(where),
                                    command.image, result, outcome.message, outcome.detail));
}

}  // namespace drovik::transport
