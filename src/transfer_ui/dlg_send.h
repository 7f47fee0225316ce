// CDlgSend "設定送信": sends the prepared command image to a printer of the local spooler as
// one raw job; "その他の送信方法" offers the parallel port and the network instead. The
// printer last picked is remembered in the index file as soon as it is picked.
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "model/profile_store.h"
#include "transfer_ui/printer_listing.h"
#include "transfer_ui/transport_services.h"
#include "transport/cups_route.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace drovik::transfer_ui {

class CDlgSend : public QDialog {
  Q_OBJECT

 public:
  // Lists the spooler's printers in the background and, once they are there, preselects the
  // remembered one (exact name only). Until then the list says that it is loading.
  CDlgSend(const ProfileStore& store, std::span<const std::uint8_t> image,
           TransportServices services, QWidget* parent = nullptr);

  // The operations behind the controls.
  void selectPrinter(int index);  // remembers it and shows its port
  void send();                    // "送信": closes with OK once the spooler took the job
  void sendOther();  // "その他の送信方法": closes with OK when a send was made there

 private:
  void fillPrinterList(PrinterList printers);

  const ProfileStore& store_;
  std::vector<std::uint8_t> image_;
  TransportServices services_;
  std::vector<PrinterEntry> printers_;
  QComboBox* printerList_;
  QLineEdit* portField_;
  // Last, so that it goes first: no list arrives while the dialog is being taken apart.
  std::unique_ptr<PrinterListing> listing_;
};

}  // namespace drovik::transfer_ui
