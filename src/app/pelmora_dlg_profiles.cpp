// Registration, deletion and changing the settings of a profile.
#include "app/operation_hooks.h"
#include "app/pelmora_dlg.h"
#include "app/register_dlg.h"
#include "model/profile_registry.h"
#include "service/profile_service.h"
#include "ui/dialog_runner.h"
#include "ui/message_boxes.h"

namespace drovik {

bool CPelmoraDlg::checkRoomForAnotherProfile() {
  auto slots = service_.readSlots();
  if (!slots) {
    showFailure(slots.message());
    return false;
  }
  if (Status s = checkRegistrationLimit(*slots); !s) {
    showFailure(s.message());
    return false;
  }
  return true;
}

std::optional<std::string> CPelmoraDlg::askProfileName() {
  CDlgRegister dialog(this);
  if (ui::runModal(dialog) != QDialog::Accepted) return std::nullopt;
  return dialog.profileName();
}

std::optional<OnExisting> CPelmoraDlg::askAboutExistingName(const std::string& name) {
  auto preview = service_.previewRegistration(name);
  if (!preview) {
    showFailure(preview.message());
    return std::nullopt;
  }
  if (preview->existingSlot < 0) {
    // Another copy may have filled the last slot since the limit was checked.
    if (preview->limitReached) {
      checkRoomForAnotherProfile();
      return std::nullopt;
    }
    return OnExisting::Refuse;
  }
  // The name matches the stored one regardless of ASCII letter case; ask with the stored one.
  std::string stored = name;
  if (auto slots = service_.readSlots(); slots && (*slots)[preview->existingSlot].registered())
    stored = (*slots)[preview->existingSlot].name;
  if (!ui::messageBoxes().confirm(dialogInFront(),
                                  QString::fromStdString(overwriteQuestion(stored))))
    return std::nullopt;
  return OnExisting::Overwrite;
}

std::optional<Result<Registered>> CPelmoraDlg::registerAsking(
    const std::string& name, OnExisting onExisting,
    const std::function<Result<Registered>(OnExisting)>& transaction) {
  auto done = transaction(onExisting);
  if (done || onExisting == OnExisting::Overwrite) return done;
  // Another copy may have registered the name since the operator was asked: ask now.
  auto preview = service_.previewRegistration(name);
  if (!preview || preview->existingSlot < 0) return done;
  auto answer = askAboutExistingName(name);
  if (!answer) return std::nullopt;
  return transaction(*answer);
}

void CPelmoraDlg::registerProfile() {
  const OperationScope operation(*this);
  if (readOnly() || !checkRoomForAnotherProfile()) return;
  // Every new profile starts from the catalogue defaults, whatever was loaded before.
  model_.resetToDefaults();
  auto name = askProfileName();
  if (!name) return;
  auto onExisting = askAboutExistingName(*name);
  if (!onExisting) return;

  std::optional<Registered> registered;
  const auto save = [&] {
    auto done = registerAsking(*name, *onExisting, [&](OnExisting choice) {
      onExisting = choice;  // a retry after a failed save keeps the operator's answer
      return underLock([&] { return service_.registerProfile(model_, *name, choice); });
    });
    if (!done) return false;  // the operator declined to overwrite
    if (!*done) {
      showFailure(done->message());
      return false;
    }
    registered = **done;
    return true;
  };
  // The settings editor plugs in here; its OK saves, and a failed save leaves it open with the
  // operator's edits. Without one the profile is registered with the defaults, as if the
  // editor had been closed with OK.
  if (editor_ ? !editor_->editSettings(model_, this, save) : !save()) {
    reloadList(selectedName());
    return;
  }
  reloadList(*name);
}

void CPelmoraDlg::deleteProfile() {
  const OperationScope operation(*this);
  auto name = selectedName();
  if (!name || readOnly()) return;
  if (!ui::messageBoxes().confirm(this, QStringLiteral("削除しますか?"))) return;
  if (Status s = underLock([&] { return service_.deleteProfile(*name); }); !s)
    showFailure(s.message());
  reloadList();
}

void CPelmoraDlg::changeSettings() {
  const OperationScope operation(*this);
  auto name = selectedName();
  if (!name || !editor_ || readOnly()) return;
  if (auto loaded = service_.loadProfile(model_, *name); !loaded) {
    showFailure(loaded.message());
    reloadList();
    return;
  }
  // OK saves; a failed save leaves the editor open with the operator's edits.
  editor_->editSettings(model_, this, [&] {
    const Status saved = underLock([&] { return service_.saveChanges(model_, *name); });
    if (!saved) showFailure(saved.message());
    return saved.isOk();
  });
  model_.clearWriteFlags();
  reloadList(name);
}

}  // namespace drovik
