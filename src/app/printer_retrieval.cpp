#include "app/printer_retrieval.h"

#include "model/profile_store.h"
#include "transfer_ui/dlg_ftp.h"
#include "transport/generated_files.h"

namespace drovik {

bool PrinterRetrieval::retrieve(ProfileModel& model, QWidget* parent) {
  return transfer_ui::retrievePrinterInformation(model, store_, parent);
}

void PrinterRetrieval::discardScript() {
  // The retrieval empties the script itself; this covers a run that never got that far.
  static_cast<void>(transport::emptyFile(store_.paths().programDir / transport::kFtpScriptName));
}

}  // namespace drovik
