// A data folder, scripted message boxes and dialogs, and fake transports that record what the
// dialogs asked of them.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "model/profile_store.h"
#include "support/fake_send_route.h"
#include "support/temp_dir.h"
#include "transfer_ui/transport_services.h"
#include "ui_support/scripted_ui.h"

namespace drovik::test {

struct TransportFixture {
  TransportFixture();

  // The fakes; the printer list is the one set in `printers` before the call.
  transfer_ui::TransportServices services();
  // The route every send goes through; replace it to change the outcome.
  void answerSends(transport::SendOutcome outcome, bool hold = false) {
    route = std::make_unique<FakeSendRoute>(std::move(outcome), hold);
  }

  TempDir dir;
  ProfileStore store;
  ScriptedMessageBoxes boxes;
  ScriptedDialogRunner dialogs;
  std::unique_ptr<FakeSendRoute> route;
  Result<std::vector<transport::PrinterEntry>> printers = std::vector<transport::PrinterEntry>{};
  transport::RetrievalOutcome retrieval;

  // What the dialogs asked for, in order: "spooler:Q", "parallel", "network:A.B.C.D",
  // "retrieve:A.B.C.D:PASSWORD".
  std::vector<std::string> asked;
  // The sends the services heard of once they ended: "cups:Q sent 6", "parallel failed 6".
  std::vector<std::string> told;
};

// Shows the dialog and clicks the button; the dialog's result, or -1 when it stayed open.
int clickIn(QDialog& dialog, const char* button);
// Types into the four boxes of an IP-address field ("" leaves a box blank).
void typeAddress(QDialog& dialog, const char* field, const std::vector<QString>& octets);
QStringList shownTexts(const ScriptedMessageBoxes& boxes);

}  // namespace drovik::test
