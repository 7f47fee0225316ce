// CDlgSendOther "その他の送信方法": sends the command image through the first parallel port or
// to the printer's FTP server. The network address typed last is remembered in the index file.
#pragma once

#include <QDialog>
#include <cstdint>
#include <span>
#include <vector>

#include "model/profile_store.h"
#include "transfer_ui/transport_services.h"

namespace drovik::transfer_ui {

class IpAddressEdit;

class CDlgSendOther : public QDialog {
  Q_OBJECT

 public:
  // Shows the remembered network address (0.0.0.0 when none).
  CDlgSendOther(const ProfileStore& store, std::span<const std::uint8_t> image,
                TransportServices services, QWidget* parent = nullptr);

  // The two "送信" buttons; each closes the dialog with OK once the image was sent.
  void sendParallel();
  void sendNetwork();

 private:
  const ProfileStore& store_;
  std::span<const std::uint8_t> image_;
  TransportServices services_;
  IpAddressEdit* address_;
};

}  // namespace drovik::transfer_ui
