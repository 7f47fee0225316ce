#include "app/printer_retrieval.h"

#include "model/profile_store.h"
#include "transfer_ui/dlg_ftp.h"
#include "transport/generated_files.h"
#include "transport/transfer_lock.h"

namespace drovik {

bool PrinterRetrieval::retrieve(ProfileModel& model, QWidget* parent) {
  return transfer_ui::retrievePrinterInformation(model, store_, parent);
}

void PrinterRetrieval::discardScript() {
  // The retrieval empties the script itself; this covers a run that never got that far. While
  // another copy's transfer runs, the script is that run's, and it empties its own.
  const auto& folder = store_.paths().programDir;
  const auto lock = transport::TransferLock::tryAcquire(folder);
  if (!lock) return;
  static_cast<void>(transport::emptyFile(folder / transport::kFtpScriptName));
}

}  // namespace drovik
