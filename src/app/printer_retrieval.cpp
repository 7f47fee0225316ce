#include "app/printer_retrieval.h"

#include "model/profile_store.h"
#include "transport/generated_files.h"
#include "transport/ui/dlg_ftp.h"

namespace drovik {

bool PrinterRetrieval::retrieve(ProfileModel& model, QWidget* parent) {
  return transport::ui::retrievePrinterInformation(model, store_, parent);
}

void PrinterRetrieval::discardScript() {
  // The retrieval empties the script itself; this covers a run that never got that far.
  static_cast<void>(transport::emptyFile(store_.paths().programDir / transport::kFtpScriptName));
}

}  // namespace drovik
