// CDlgFtp "プリンタ情報取得": fetches the stored settings of an older-model printer over FTP,
// for the settings editor to load into the profile it shows.
#pragma once

#include <QDialog>

#include "model/profile.h"
#include "model/profile_store.h"
#include "nvram/nvram_files.h"
#include "transfer_ui/transport_services.h"

class QLineEdit;

namespace drovik::ui {
class Ipv4Edit;
}

namespace drovik::transfer_ui {

class CDlgFtp : public QDialog {
  Q_OBJECT

 public:
  // Shows the address remembered for retrieval as stored (0.0.0.0 when none; an octet outside
  // 0..255 as it is, refused by "取得") and an empty password.
  CDlgFtp(const ProfileStore& store, TransportServices services, QWidget* parent = nullptr);

  // "取得" or Enter: closes the dialog with OK once both images were fetched from a supported
  // model; every other outcome is said and the dialog stays open.
  void retrieve();
  // What the last successful retrieval read, to be decoded.
  const nvram::RetrievedImages& retrievedImages() const { return images_; }

 private:
  const ProfileStore& store_;
  TransportServices services_;
  drovik::ui::Ipv4Edit* address_;
  QLineEdit* password_;
  nvram::RetrievedImages images_;
};

// "プリンタ情報取得" of the settings editor: runs CDlgFtp modally and, when the images were
// fetched, decodes them into `model` (item values only, nothing is saved) and shows each of
// the decoders' messages. True when the model was refilled, so that the editor reloads its
// pages. The FTP script, which held the password, is empty afterwards whatever happened, and
// the program writes no core dump from the moment the password can be typed.
bool retrievePrinterInformation(ProfileModel& model, const ProfileStore& store, QWidget* parent);
// The same with other transports (tests).
bool retrievePrinterInformation(ProfileModel& model, const ProfileStore& store, QWidget* parent,
                                const TransportServices& services);

}  // namespace drovik::transfer_ui
