// Sending through the first parallel port: the image goes to rsic_cmd.bin and the generated
// batch rsendcen.bat copies it to the port.
#pragma once

#include <filesystem>
#include <vector>

#include "transport/parallel_port.h"
#include "transport/send_route.h"

namespace drovik::transport {

class ParallelRoute : public SendRoute {
 public:
  explicit ParallelRoute(std::filesystem::path programDir,
                         std::vector<std::filesystem::path> devices = defaultParallelDevices());
  // "設定を送信しました" only once the copy to the port completed, else "設定を送信できません"
  // (or, before anything is written, why a run file's name cannot be used).
  SendOutcome send(std::span<const std::uint8_t> image, RunControl& control) override;

 private:
  std::filesystem::path programDir_;
  std::vector<std::filesystem::path> devices_;
};

}  // namespace drovik::transport
