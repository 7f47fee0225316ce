#include "event_loop_stalls.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "app/pelmora_dlg.h"
#include "app/printer_sender.h"
#include "files/folder_lock.h"
#include "fleet/plan_writer.h"
#include "fleet_ui/fleet_runner.h"
#include "fleet_ui/fleet_window.h"
#include "fleet_ui/plan_table_model.h"
#include "machine_pauses.h"
#include "model/store_paths.h"
#include "peers/loopback_listener.h"
#include "peers/printer_simulator.h"
#include "service/profile_service.h"
#include "transport/ipv4_address.h"
#include "ui/dialog_runner.h"
#include "ui/message_boxes.h"

extern char** environ;

namespace drovik::bench {
namespace {

constexpr int kTickMs = 2;
// How long the send dialog stays open while its list is still coming.
constexpr int kDialogOpenMs = 1000;
// How long the other process holds the lock, and how long the delete may take at most.
constexpr int kLockHeldMs = 1500;
constexpr int kOperationLimitMs = 15000;

// The largest gap between the ticks of a fast timer, which fires in any event loop the
// thread runs (modal ones included) and in none while the thread is busy or blocked. The part
// of a gap that the whole machine stood still is not the program's and is left out.
class StallMeter {
 public:
  using Clock = MachinePauses::Clock;

  StallMeter() : last_(Clock::now()) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.start(kTickMs);
  }
  double longestMs() {
    tick();
    return std::chrono::duration<double, std::milli>(longest_).count();
  }

 private:
  void tick() {
    const Clock::time_point now = Clock::now();
    longest_ = std::max(longest_, now - last_ - pauses_.within(last_, now));
    last_ = now;
  }
  MachinePauses pauses_;
  QTimer timer_;
  Clock::time_point last_;
  Clock::duration longest_{};
};

// Spins the event loop until `done` or `limitMs`; the meter's ticks keep it turning.
void spinUntil(const std::function<bool()>& done, int limitMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < limitMs)
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Answers every question with OK and counts the boxes.
class AnswerOk final : public ui::MessageBoxes {
 public:
  QMessageBox::StandardButton show(QWidget*, const QString&, QMessageBox::Icon,
                                   QMessageBox::StandardButtons) override {
    ++shown;
    return QMessageBox::Ok;
  }
  int shown = 0;
};

// Runs each modal dialog in an event loop of its own, as exec() would, for as long as the
// policy says; then closes it.
class LoopingRunner final : public ui::DialogRunner {
 public:
  explicit LoopingRunner(std::function<void(QDialog&)> policy) : policy_(std::move(policy)) {}
  int run(QDialog& dialog) override {
    dialog.show();
    policy_(dialog);
    const int result = dialog.isVisible() ? int(QDialog::Rejected) : dialog.result();
    dialog.hide();
    return result;
  }

 private:
  std::function<void(QDialog&)> policy_;
};

// The operation, started from the event loop as a click would, until `finished` says it is
// over; the longest stall meanwhile.
double stallDuring(const std::function<void()>& operation, const std::function<bool()>& finished) {
  StallMeter meter;
  bool returned = false;
  QTimer::singleShot(0, [&] {
    operation();
    returned = true;
  });
  spinUntil([&] { return returned && finished(); }, kOperationLimitMs);
  return meter.longestMs();
}

bool registerProfiles(ProfileService& service, int count) {
  for (int i = 0; i < count; ++i) {
    ProfileModel model;
    if (!service.registerProfile(model, "待機 " + std::to_string(i), OnExisting::Overwrite))
      return false;
  }
  return true;
}

int listedProfiles(CPelmoraDlg& window) {
  return window.findChild<QTreeWidget*>("profileList")->topLevelItemCount();
}

void selectFirstRow(CPelmoraDlg& window) {
  window.findChild<QTreeWidget*>("profileList")->topLevelItem(0)->setSelected(true);
}

}  // namespace

double sendDialogStallMs() {
  test::LoopbackListener server;  // takes the connection, never answers
  QTemporaryDir dir;
  ProfileService service(StorePaths::inDirectory(dir.path().toStdString()));
  if (!server.listening() || !dir.isValid() || !registerProfiles(service, 1)) return -1;
  const std::string spooler = "127.0.0.1:" + std::to_string(server.port());
  ::setenv("CUPS_SERVER", spooler.c_str(), 1);

  ProfileModel model;
  CPelmoraDlg window(service, model);
  PrinterSender sender(service.store());
  window.setCommandSender(&sender);
  window.show();
  selectFirstRow(window);
  AnswerOk boxes;
  ui::setMessageBoxes(&boxes);
  bool opened = false;
  // The dialog stands for a while with its list still coming, then the operator leaves.
  LoopingRunner runner([&](QDialog& dialog) {
    opened = dialog.objectName() == QLatin1String("sendDialog");
    spinUntil([] { return false; }, kDialogOpenMs);
  });
  ui::setDialogRunner(&runner);
  const double stall = stallDuring([&] { window.sendCommand(); }, [] { return true; });
  ui::setDialogRunner(nullptr);
  ui::setMessageBoxes(nullptr);
  ::unsetenv("CUPS_SERVER");
  return opened ? stall : -1;
}

double lockedDeleteStallMs(const char* self) {
  QTemporaryDir dir;
  ProfileService service(StorePaths::inDirectory(dir.path().toStdString()));
  if (!dir.isValid() || !registerProfiles(service, 2)) return -1;

  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  const std::string dirText = dir.path().toStdString();
  const std::string heldText = std::to_string(kLockHeldMs);
  char* args[] = {const_cast<char*>(self), const_cast<char*>("--hold-lock"),
                  const_cast<char*>(dirText.c_str()), const_cast<char*>(heldText.c_str()), nullptr};
  pid_t holder = 0;
  const bool spawned = posix_spawn(&holder, self, &actions, nullptr, args, environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  char held = 0;
  const bool locked = spawned && ::read(pipeFds[0], &held, 1) == 1;
  ::close(pipeFds[0]);

  double stall = -1;
  if (locked) {
    ProfileModel model;
    CPelmoraDlg window(service, model);
    window.show();
    selectFirstRow(window);
    AnswerOk boxes;  // "削除しますか?" and any failure
    ui::setMessageBoxes(&boxes);
    // Whatever box the window may stand while it waits, it stays until it closes itself.
    LoopingRunner runner(
        [](QDialog& dialog) { spinUntil([&] { return !dialog.isVisible(); }, kOperationLimitMs); });
    ui::setDialogRunner(&runner);
    const int before = listedProfiles(window);
    // Over once the row is gone or a failure was said besides the question.
    stall = stallDuring([&] { window.deleteProfile(); },
                        [&] { return listedProfiles(window) < before || boxes.shown > 1; });
    ui::setDialogRunner(nullptr);
    ui::setMessageBoxes(nullptr);
  }
  if (spawned) ::waitpid(holder, nullptr, 0);
  return stall;
}

int holdFolderLock(const char* dir, const char* milliseconds) {
  auto lock = FolderLock::acquire(StorePaths::inDirectory(dir).lockFolder());
  if (!lock) return 1;
  if (::write(STDOUT_FILENO, "L", 1) != 1) return 1;
  std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(milliseconds)));
  return 0;
}

}  // namespace drovik::bench

namespace drovik::bench {

FleetRunFigures fleetRunStall(int rows) {
  test::PrinterSimulatorOptions oldOptions;
  oldOptions.password = "pw";
  test::PrinterSimulator old(oldOptions);
  test::PrinterSimulatorOptions newOptions;
  newOptions.greeting = "8630-M FTP server ready.";
  newOptions.password = "";
  newOptions.moreAddresses = rows - 1;
  test::PrinterSimulator replacements(newOptions);
  if (!old.problem().empty() || !replacements.problem().empty()) return {-1, 0, 0};
  QTemporaryDir dir;
  const std::filesystem::path plan = dir.filePath("site.csv").toStdString();
  std::vector<fleet::PlanLine> lines;
  for (int i = 0; i < rows; ++i) {
    const Ipv4Octets target = i == 0 ? replacements.address() : replacements.moreAddresses()[i - 1];
    lines.push_back({"printer" + std::to_string(i), transport::dottedOctets(old.address()),
                     "ftp:" + transport::dottedOctets(target)});
  }
  if (!fleet::writePlanFile(plan, fleet::planFileText(lines), false)) return {-1, 0, 0};

  fleet_ui::FleetWindow window;
  if (!window.openPlan(plan)) return {-1, 0, 0};
  window.findChild<QLineEdit*>("passwordEdit")->setText(QStringLiteral("pw"));
  window.show();
  QElapsedTimer clock;
  clock.start();
  const double stall = [&] {
    StallMeter meter;
    QTimer::singleShot(0, [&] { window.runPlan(); });
    spinUntil([&] { return clock.elapsed() > 100 && !window.runner().running(); }, 600000);
    return meter.longestMs();
  }();
  int completed = 0;
  for (int i = 0; i < rows; ++i)
    completed += window.table().rowState(i) == fleet::RowState::Completed ? 1 : 0;
  return {stall, static_cast<double>(clock.elapsed()), completed};
}

}  // namespace drovik::bench
