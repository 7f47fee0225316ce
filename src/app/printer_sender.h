// "設定送信" for real: the prepared command goes to the printer through the send dialogs, and
// each send goes into the folder's history.
#pragma once

#include "app/operation_hooks.h"

namespace drovik {

class ProfileStore;

class PrinterSender final : public CommandSender {
 public:
  // The store remembers the printer and the address; its folder receives the transport files.
  explicit PrinterSender(const ProfileStore& store) : store_(store) {}
  void sendCommand(const std::string& profile, const PreparedCommand& command,
                   QWidget* parent) override;

 private:
  const ProfileStore& store_;
};

}  // namespace drovik
