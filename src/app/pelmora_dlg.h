// The main window: the registered profiles and one button per operation. Every operation
// works on the selected row's profile by its name through the profile service, then
// re-reads the index; changes by other programs sharing the folder are read in as they
// happen, so that the list always shows the files as they are. Changes wait for the folder
// lock on a worker thread, the window painting meanwhile. On a folder opened read-only (a
// fleet row's archive) it lists, reports, compares, writes command files elsewhere and sends,
// and offers nothing that would change the folder.
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "files/status.h"
#include "model/profile.h"
#include "ui/wait_box.h"

class QTreeWidgetItem;

namespace Ui {
class CPelmoraDlg;
}

namespace drovik {

class ProfileService;
class ProfileFilesWatcher;
class SettingsEditor;
class CommandSender;
struct Registered;
struct PreparedCommand;
enum class CommandVariant;
enum class OnExisting;

class CPelmoraDlg : public QDialog {
  Q_OBJECT

 public:
  // Lists the profiles of `firstRead` (the index as read at start-up), or reads the index.
  CPelmoraDlg(ProfileService& service, ProfileModel& model,
              std::optional<Result<ProfileSlotTable>> firstRead = std::nullopt,
              QWidget* parent = nullptr);
  ~CPelmoraDlg() override;

  // Plug-ins; the caller keeps ownership. Without an editor, registration keeps the
  // defaults and changing settings is unavailable; without a sender (the application installs
  // the printer sender), "設定送信" only prepares the command.
  void setSettingsEditor(SettingsEditor* editor);
  void setCommandSender(CommandSender* sender);

  // Reads the index and lists the registered profiles, selecting `select` if given.
  void reloadList(const std::optional<std::string>& select = std::nullopt);

  // The operations behind the buttons.
  void registerProfile();
  void deleteProfile();
  void changeSettings();
  void showSettingsList();
  void migrateProfile();
  void sendCommand();
  void generateCommandFile();
  void showComparison();
  void showHistory();
  void showAbout();
  // "フォルダーを開く...": another data folder in a read-only window over this one.
  void openFolder();
  // "フリート移行...": the fleet window over this one, on `plan` when given.
  void showFleet(const std::optional<std::filesystem::path>& plan = std::nullopt);

 Q_SIGNALS:
  // The files changed under an open operation: the list follows when it ends.
  void refreshPutOff();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Held by every operation from its first dialog to its end: the list is never rebuilt
  // under an open dialog, nor while a worker thread uses the model; a change of the files
  // meanwhile is read in when the last operation ends.
  class OperationScope {
   public:
    explicit OperationScope(CPelmoraDlg& window);
    ~OperationScope();
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

   private:
    CPelmoraDlg& window_;
  };

  // Runs a transaction on a worker thread; while it waits for the folder lock the window
  // keeps painting, and from a blink on a wait box stands over the dialog in front.
  template <class Transaction>
  auto underLock(Transaction transaction) {
    const OperationScope operation(*this);
    return ui::runInBackground(dialogInFront(), ui::folderBusyText(), std::move(transaction));
  }
  // The window or its dialog in front (the settings dialog while its OK saves): messages and
  // waits stand over it.
  QWidget* dialogInFront();
  // Another program changed the files: re-read the list, keeping the selected name.
  void refreshFromFiles();

  void setUpList();
  void showSlots(const Result<ProfileSlotTable>& slots, const std::optional<std::string>& select);
  void setUpHelpMenu();
  void updateButtonStates();
  bool readOnly() const;
  std::optional<std::string> selectedName() const;
  std::optional<std::string> selectedModelType() const;
  void selectRow(QTreeWidgetItem* item);

  // Shared steps of registration and migration.
  bool checkRoomForAnotherProfile();
  std::optional<std::string> askProfileName();
  // Nothing when the operator declined to overwrite; otherwise how to treat an existing name.
  std::optional<OnExisting> askAboutExistingName(const std::string& name);
  // Runs a registering transaction; when it finds the name taken meanwhile by another copy,
  // asks the overwrite question and runs it again. Nothing when the operator declined.
  std::optional<Result<Registered>> registerAsking(
      const std::string& name, OnExisting onExisting,
      const std::function<Result<Registered>(OnExisting)>& transaction);
  void showReport(const std::string& report);
  // Loads the profile and shows its settings list, in the given layout or that of its model.
  bool showReportOf(const std::string& name, std::optional<CommandVariant> variant = std::nullopt);
  void showCommandWarnings(const PreparedCommand& command);
  void showFailure(const std::string& message);
  // Says what could not be written to the history during the operation that ends.
  void showHistoryWarnings();

  ProfileService& service_;
  ProfileModel& model_;
  SettingsEditor* editor_ = nullptr;
  CommandSender* sender_ = nullptr;
  std::unique_ptr<Ui::CPelmoraDlg> ui_;
  ProfileFilesWatcher* filesWatcher_ = nullptr;
  int operations_ = 0;           // open OperationScopes
  bool refreshPending_ = false;  // the files changed while an operation was open
};

}  // namespace drovik
