// Sending over the network: the image goes to rsic_cmd.bin, and the generated FTP script
// uploads it to the printer's FTP server; the client's log tells whether it arrived.
#pragma once

#include <filesystem>

#include "model/profile_store.h"
#include "transport/send_route.h"

namespace drovik::transport {

class FtpRoute : public SendRoute {
 public:
  FtpRoute(std::filesystem::path programDir, Ipv4Octets address);
  // Refuses 0.0.0.0 with "ＩＰアドレスを入力してください", an address with an octet outside
  // 0..255 (checkAddress), and a run file's name taken by another user's file or by something
  // else than a file, with a message naming it, before writing anything. Otherwise waits for
  // the upload to end (bounded by control): "設定を送信できました" when the upload succeeded and
  // the log shows it, else "設定を送信できませんでした".
  SendOutcome send(std::span<const std::uint8_t> image, RunControl& control) override;

 private:
  std::filesystem::path programDir_;
  Ipv4Octets address_;
};

}  // namespace drovik::transport
