// CDlgSendOther "その他の送信方法": sends the command image through the first parallel port or
// to the printer's FTP server. The network address typed last is remembered in the index file.
#pragma once

#include <QDialog>
#include <cstdint>
#include <span>
#include <vector>

#include "model/profile_store.h"
#include "transfer_ui/transport_services.h"

namespace drovik::ui {
class Ipv4Edit;
}

namespace drovik::transfer_ui {

class CDlgSendOther : public QDialog {
  Q_OBJECT

 public:
  // Shows the remembered network address as stored (0.0.0.0 when none); one with an octet
  // outside 0..255 is shown as it is and refused by "送信".
  CDlgSendOther(const ProfileStore& store, std::span<const std::uint8_t> image,
                TransportServices services, QWidget* parent = nullptr);

  // The two "送信" buttons; each closes the dialog with OK once the image was sent.
  void sendParallel();
  void sendNetwork();

 private:
  const ProfileStore& store_;
  std::span<const std::uint8_t> image_;
  TransportServices services_;
  drovik::ui::Ipv4Edit* address_;
};

}  // namespace drovik::transfer_ui
