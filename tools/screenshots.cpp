// drovik_screenshots DATA_DIR OUT_DIR: prepares a data folder with profiles of both models
// (when it has none) and writes PNGs of the program's windows as an operator sees them:
// the main window with a row of each model selected, the name dialog, the about box, the
// settings list of each layout, the comparison window (equal, differing, and with two initial
// users in the M reading), the history window (whole and for one profile), a message box, and
// the send, other-route, waiting and retrieval dialogs (on sample printers, nothing is sent).
// Run it on a real display (Xvfb).
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeWidget>
#include <cstdio>
#include <fstream>
#include <functional>

#include "app/about_dlg.h"
#include "app/pelmora_dlg.h"
#include "fleet_ui/fleet_window.h"
#include "fleet_ui/plan_table_model.h"
#include "fleet_ui/printer_search_dialog.h"
#include "fleet_ui/printer_search_table.h"
#include "history/recorder.h"
#include "model/profile_registry.h"
#include "service/profile_service.h"
#include "transfer_ui/dlg_ftp.h"
#include "transfer_ui/dlg_proc.h"
#include "transfer_ui/dlg_send.h"
#include "transfer_ui/dlg_send_other.h"
#include "transport/command_file.h"
#include "transport/transport_messages.h"
#include "ui/dialog_runner.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"
#include "ui/wait_box.h"

namespace {

using namespace drovik;

bool check(const Status& status, const char* what) {
  if (!status) std::fprintf(stderr, "%s: %s\n", what, status.message().c_str());
  return status.isOk();
}

// A command file of the M copy, and what the sample printers would have received, so that the
// history window has deliveries to show (nothing is sent).
bool recordSampleDeliveries(ProfileService& service) {
  ProfileModel model;
  const auto folder = service.store().paths().lockFolder();
  auto written =
      transport::writeCommandFile(service, model, "本社 経理部 8630-M", folder / "keiri.sib");
  if (!check(written.status(), "command file")) return false;
  const auto& bytes = written->image.bytes;
  history::record(folder,
                  history::delivery(history::operation::kSend, "本社 経理部 8630-M", "8630-M",
                                    "cups:8630_Keiri", bytes, history::kOutcomeOk));
  history::record(folder, history::delivery(history::operation::kSend, "工場 出荷ライン",
                                            "8630-GHJK", "ftp:192.168.10.21", bytes,
                                            history::kOutcomeFailed, "設定を送信できませんでした"));
  return history::takeWarnings().empty();
}

// Old-model profiles with named users, an M copy of the first, and their history.
bool prepareProfiles(ProfileService& service) {
  auto slots = service.readSlots();
  if (!check(slots.status(), "read")) return false;
  if (registeredCount(*slots) > 0) return true;
  const struct {
    const char* name;
    int initialUser;
    const char* users[3];
  } profiles[] = {
      {"本社 経理部", 0, {"経理", "給与", "総務"}},
      {"工場 出荷ライン", 2, {"伝票", "荷札", "出荷"}},
      {"支店 窓口（連続紙）", 1, {"窓口", "控え", ""}},
  };
  for (const auto& profile : profiles) {
    ProfileModel model;
    model.setSelectUser(profile.initialUser);
    for (int user = 0; user < 3; ++user) model.setUserName(user, profile.users[user]);
    // A longer front form for the shipping labels, so that a comparison shows a setting too.
    if (profile.initialUser == 2)
      model.setPaperIndex(2, catalogue::findItem("FormLenFront")->index, 14);
    if (!check(service.registerProfile(model, profile.name, OnExisting::Overwrite).status(),
               "register"))
      return false;
  }
  if (!check(service.migrateProfile("本社 経理部", "本社 経理部 8630-M", OnExisting::Overwrite)
                 .status(),
             "migrate"))
    return false;
  return recordSampleDeliveries(service);
}

// Runs each modal dialog by saving a picture of it and closing it.
class Photographer final : public ui::DialogRunner {
 public:
  explicit Photographer(QString dir) : dir_(std::move(dir)) {}
  QString nextName;
  std::function<void(QDialog&)> prepare;

  int run(QDialog& dialog) override {
    if (prepare) prepare(dialog);
    shoot(dialog, nextName);
    return QDialog::Rejected;
  }

  void shoot(QWidget& widget, const QString& name) {
    widget.show();
    widget.activateWindow();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    const QString path = dir_ + "/" + name + ".png";
    if (!widget.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::printf("%s\n", qPrintable(path));
  }

 private:
  QString dir_;
};

void selectRow(QTreeWidget& list, const std::string& modelType) {
  for (int row = 0; row < list.topLevelItemCount(); ++row) {
    if (list.topLevelItem(row)->text(3).toStdString() == modelType) {
      list.setCurrentItem(list.topLevelItem(row));
      return;
    }
  }
}

// Printers as a small office's spooler lists them; no route is ever taken.
transfer_ui::TransportServices samplePrinters() {
  transfer_ui::TransportServices services;
  services.listPrinters = [](transport::RunControl&) {
    return Result<std::vector<transport::PrinterEntry>>(
        std::vector<transport::PrinterEntry>{{"8630_Keiri", "socket://192.168.10.21:9100"},
                                             {"8630_Shukka", "usb://Printer/8630-H05?serial=A1234"},
                                             {"Office_Laser", "ipp://192.168.10.5/ipp/print"}});
  };
  return services;
}

void shootTransportDialogs(Photographer& camera, const ProfileStore& store, QWidget& window) {
  const std::vector<std::uint8_t> image(2955, 0);
  check(store.setPrinterDriverName("8630_Shukka"), "remember printer");
  check(store.setSendAddress({192, 168, 10, 21}), "remember address");
  check(store.setRetrievalAddress({192, 168, 10, 21}), "remember address");
  transfer_ui::CDlgSend send(store, image, samplePrinters(), &window);
  auto* printers = send.findChild<QComboBox*>("printerList");
  while (!printers->isEnabled()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  camera.shoot(send, "send-dialog");
  send.hide();
  transfer_ui::CDlgSendOther other(store, image, samplePrinters(), &window);
  camera.shoot(other, "send-other-dialog");
  other.hide();
  ui::WaitBox wait(
      qt(transport::kConnectingMessage), [] { return false; }, &window);
  camera.shoot(wait, "wait-box");
  wait.hide();
  transfer_ui::CDlgFtp retrieval(store, samplePrinters(), &window);
  retrieval.findChild<QLineEdit*>("passwordField")->setText(QStringLiteral("password"));
  camera.shoot(retrieval, "retrieval-dialog");
  retrieval.hide();
}

// The fleet window on a plan of three floors: as opened (one row to mend), as it looks while
// rows run, and after a run with a failure. The states are set as a run reports them.
void shootFleetWindow(Photographer& camera, const std::filesystem::path& folder, QWidget& window) {
  const auto plan = folder / "floors.csv";
  std::ofstream(plan) << "name,old_printer,new_target\n"
                         "1F_受付,192.168.10.21,ftp:192.168.20.21\n"
                         "2F_経理,192.168.10.22,cups:8630_Keiri\n"
                         "3F_出荷,192.168.10.23,ftp:192.168.20.23\n"
                         "3F_倉庫,192.168.10.300,parallel\n";
  fleet_ui::FleetWindow fleet({}, &window);
  fleet.resize(980, 420);
  camera.shoot(fleet, "fleet-empty");
  fleet.openPlan(plan);
  fleet.findChild<QLineEdit*>("passwordEdit")->setText(QStringLiteral("password"));
  camera.shoot(fleet, "fleet-plan");
  auto& rows = fleet.table();
  rows.setData(rows.index(3, fleet_ui::PlanTableModel::kOldPrinter),
               QStringLiteral("192.168.10.24"));
  rows.setRowState(0, fleet::RowState::Sending, {});
  rows.setRowState(1, fleet::RowState::Fetching, {});
  auto* progress = fleet.findChild<QProgressBar*>("runProgress");
  progress->setRange(0, 4);
  progress->setValue(1);
  progress->setFormat(QStringLiteral("1 / 4"));
  rows.setRowState(
      2, fleet::RowState::Completed,
      QStringLiteral("完了 送信 ftp:192.168.20.23 2955バイト 保存先 floors.archive/3F_出荷"));
  camera.shoot(fleet, "fleet-running");
  rows.setRowState(
      0, fleet::RowState::Completed,
      QStringLiteral("完了 送信 ftp:192.168.20.21 2955バイト 保存先 floors.archive/1F_受付"));
  rows.setRowState(
      1, fleet::RowState::Failed,
      QStringLiteral("失敗 取得: プリンタ情報を取得できませんでした（ftp: timed out.）"));
  rows.setRowState(3, fleet::RowState::Completed,
                   QStringLiteral("完了 送信 parallel 2955バイト 保存先 floors.archive/3F_倉庫"));
  progress->setValue(4);
  progress->setFormat(QStringLiteral("4 / 4"));
  camera.shoot(fleet, "fleet-after-run");
  fleet.hide();
  fleet_ui::PrinterSearchDialog search(&window);
  search.findChild<QLineEdit*>("addressEdit")
      ->setText(QStringLiteral("192.168.10.0/24 @floors.txt"));
  camera.shoot(search, "fleet-search");
  // What a sweep of the first floor found, as the dialog shows it when the sweep ends.
  auto found = [](std::uint8_t last, const char* model, discovery::PrinterModel::Kind kind,
                  const char* name, const char* location, const char* serial) {
    discovery::FoundPrinter printer;
    printer.address = {192, 168, 10, last};
    printer.model = {kind, model};
    printer.snmp = discovery::SnmpValues{};
    printer.snmp->sysName = name;
    printer.snmp->sysLocation = location;
    printer.snmp->serialNumber = serial;
    return printer;
  };
  using Kind = discovery::PrinterModel::Kind;
  auto* table = search.findChild<QTableView*>("foundTable");
  fleet_ui::showFound(*static_cast<QStandardItemModel*>(table->model()),
                      {found(21, "8630-H05", Kind::Old, "1F_受付", "1F 受付", "H05-004211"),
                       found(22, "8630-K05", Kind::Old, "1F_倉庫", "1F 倉庫", "K05-001873"),
                       found(40, "8630-M", Kind::New, "1F_受付_新", "1F 受付", "M-000102")});
  table->resizeColumnsToContents();
  table->horizontalHeader()->setSectionResizeMode(fleet_ui::kLocationColumn, QHeaderView::Stretch);
  // As a click on a check box does, so that the dialog sees the ticked rows.
  auto* first = static_cast<QStandardItemModel*>(table->model())->item(0, 0);
  first->setCheckState(Qt::Unchecked);
  first->setCheckState(Qt::Checked);
  auto* bar = search.findChild<QProgressBar*>("progressBar");
  bar->setRange(0, 1);
  bar->setValue(1);
  search.findChild<QLabel*>("countLabel")
      ->setText(
          QStringLiteral("256 件を調べ、3 台が応答しました（旧機種 2、8630-M 1、応答なし 253）"));
  camera.shoot(search, "fleet-search-found");
  search.hide();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: drovik_screenshots DATA_DIR OUT_DIR\n");
    return 2;
  }
  QApplication application(argc, argv);
  QDir().mkpath(argv[1]);
  ProfileService service(StorePaths::inDirectory(argv[1]));
  if (!prepareProfiles(service)) return 1;
  QDir().mkpath(argv[2]);

  ProfileModel model;
  CPelmoraDlg window(service, model);
  Photographer camera(QString::fromLocal8Bit(argv[2]));
  ui::setDialogRunner(&camera);
  auto& list = *window.findChild<QTreeWidget*>("profileList");

  selectRow(list, "8630-GHJK");
  camera.shoot(window, "main-ghjk-selected");
  camera.nextName = "settings-list-ghjk";
  window.showSettingsList();

  selectRow(list, "8630-M");
  camera.shoot(window, "main-m-selected");
  camera.nextName = "settings-list-m";
  window.showSettingsList();

  camera.nextName = "register-dialog";
  camera.prepare = [](QDialog& dialog) {
    dialog.findChild<QLineEdit*>("nameEdit")->setText(QStringLiteral("営業所 伝票発行"));
  };
  window.registerProfile();
  camera.prepare = nullptr;

  // The M copy against its source: equal as the M model reads them.
  camera.nextName = "compare-m-equal";
  window.showComparison();
  selectRow(list, "8630-GHJK");
  camera.nextName = "compare";
  window.showComparison();
  // The M copy against a profile of another initial user: each row names both users.
  camera.nextName = "compare-m-users";
  camera.prepare = [](QDialog& dialog) {
    auto* second = dialog.findChild<QComboBox*>("secondCombo");
    second->setCurrentIndex(second->findText(QStringLiteral("工場 出荷ライン")));
  };
  selectRow(list, "8630-M");
  window.showComparison();
  camera.prepare = nullptr;

  camera.nextName = "history";
  window.showHistory();
  camera.nextName = "history-filtered";
  camera.prepare = [](QDialog& dialog) {
    auto* profiles = dialog.findChild<QComboBox*>("profileFilter");
    profiles->setCurrentIndex(profiles->findText(QStringLiteral("本社 経理部 8630-M")));
  };
  window.showHistory();
  camera.prepare = nullptr;

  camera.nextName = "about";
  window.showAbout();

  auto box = ui::createMessageBox(&window, QString::fromStdString(overwriteQuestion("本社 経理部")),
                                  QMessageBox::Information, QMessageBox::Ok | QMessageBox::Cancel);
  camera.shoot(*box, "message-overwrite");
  auto warning = ui::createMessageBox(&window, QStringLiteral("20個以上は登録できません"),
                                      QMessageBox::Warning, QMessageBox::Ok);
  camera.shoot(*warning, "message-limit");
  warning->hide();
  shootTransportDialogs(camera, service.store(), window);
  shootFleetWindow(camera, argv[1], window);
  ui::setDialogRunner(nullptr);
  return 0;
}
