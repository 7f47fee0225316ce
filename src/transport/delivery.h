// The one way a command image reaches its target, whoever asks (the send dialogs, drovik-cli
// send and generate -o, the fleet's rows): the target's route is picked, the port and network
// routes run under the transfer lock of the folder they write in, the printer or address is
// remembered in the index file, the image is sent, and the delivery goes into the history.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "history/history_record.h"
#include "model/profile_store.h"
#include "transport/run_control.h"
#include "transport/send_route.h"
#include "transport/target.h"
#include "transport/transfer_lock.h"

namespace drovik::transport {

// Makes the route to `target`; the port and network routes keep their files in `folder`.
using RouteFactory = std::function<std::unique_ptr<SendRoute>(const Target& target,
                                                              const std::filesystem::path& folder)>;

// The real spooler, port, FTP client and file.
std::unique_ptr<SendRoute> realRoute(const Target& target, const std::filesystem::path& folder);

// The profile whose command is delivered, as the history names it.
struct DeliveredCommand {
  std::string profile;  // its name as stored
  std::string model;    // its model type
  std::span<const std::uint8_t> image;
};

struct DeliverySettings {
  // Where the port and network routes write their files.
  std::filesystem::path transferFolder;
  // Those routes wait for the transfer lock of transferFolder: a data folder is shared by the
  // desktop program and drovik-cli. A fleet row's folder is its own and needs none.
  bool exclusive = true;
  // Whether the printer or the address is remembered in the index file, as the send dialogs
  // do; a fleet row's target comes from its plan and is not the operator's pick.
  bool rememberChoice = true;
  // The history's operation for a send to a printer (the command file has its own).
  std::string_view sendOperation = history::operation::kSend;
  WaitNotice waitNotice;
  RouteFactory routes = realRoute;

  // The desktop program's and drovik-cli's: files, lock and remembered choice in the store's
  // data folder.
  static DeliverySettings inDataFolder(const ProfileStore& store, WaitNotice notice = {});
  // A fleet row's: files in the row's own work folder, nothing remembered.
  static DeliverySettings forFleetRow(const std::filesystem::path& workFolder);
};

class CommandDelivery {
 public:
  // The store remembers the choice and its folder keeps the history. A store opened read-only
  // keeps its files as they are: nothing is remembered or recorded there.
  CommandDelivery(const ProfileStore& store, DeliverySettings settings);

  // Sends `command` to `target` within control's limit (the wait for the transfer lock not
  // counted). Refused before anything else, with nothing sent, remembered or recorded: an
  // address with an octet outside 0..255, or a choice the index file could not take. A lock
  // that cannot be had sends nothing and remembers nothing, and is recorded as a failed
  // delivery, as is every send that was attempted.
  SendOutcome deliver(const Target& target, const DeliveredCommand& command,
                      RunControl& control) const;

 private:
  Status remember(const Target& target) const;
  SendOutcome send(const Target& target, std::span<const std::uint8_t> image,
                   RunControl& control) const;
  void record(const Target& target, const DeliveredCommand& command,
              const SendOutcome& outcome) const;

  const ProfileStore& store_;
  DeliverySettings settings_;
};

}  // namespace drovik::transport
