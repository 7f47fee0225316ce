// The command file: the image written to a file of the operator's choosing, all or nothing
// (a temporary file beside it, then a rename), so that a failed write leaves no half command
// that could later be sent.
#pragma once

#include <filesystem>

#include "transport/send_route.h"

namespace drovik::transport {

class CommandFileRoute final : public SendRoute {
 public:
  explicit CommandFileRoute(std::filesystem::path file) : file_(std::move(file)) {}
  // Delivered with no message once the file is in place; else failed, saying why.
  SendOutcome send(std::span<const std::uint8_t> image, RunControl& control) override;

 private:
  std::filesystem::path file_;
};

}  // namespace drovik::transport
