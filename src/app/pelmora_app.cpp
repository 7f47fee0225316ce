#include "app/pelmora_app.h"

#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/pelmora_dlg.h"
#include "app/settings_editor_dialog.h"
#include "ui/background_work.h"

namespace drovik {

CPelmoraApp::CPelmoraApp(const StorePaths& profiles, StoreAccess access,
                         const std::optional<StorePaths>& transfers)
    : service_(profiles, access),
      transfers_(transfers.value_or(profiles)),
      retrieval_(transfers_),
      editor_(&retrieval_),
      sender_(transfers_),
      firstRead_(ui::startInBackground([this] { return service_.readSlots(); })) {}

// Whatever still runs in the background uses the service and the stores: it ends first.
CPelmoraApp::~CPelmoraApp() { ui::waitForBackgroundWork(); }

std::unique_ptr<CPelmoraDlg> CPelmoraApp::createMainWindow() {
  auto window = firstRead_.isValid()
                    ? std::make_unique<CPelmoraDlg>(service_, model_, firstRead_.takeResult())
                    : std::make_unique<CPelmoraDlg>(service_, model_);
  window->setSettingsEditor(&editor_);
  window->setCommandSender(&sender_);
  return window;
}

int CPelmoraApp::run(const std::optional<std::filesystem::path>& fleetPlan) {
  const auto window = createMainWindow();
  if (fleetPlan)
    QTimer::singleShot(0, window.get(), [&window, &fleetPlan] { window->showFleet(*fleetPlan); });
  window->exec();
  // Still under the QApplication: the windows are gone and have cancelled their own work.
  ui::waitForBackgroundWork();
  return 0;
}

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool waylandSocketExists(const std::string& display) {
  std::filesystem::path socket = display;
  if (socket.is_relative()) socket = std::filesystem::path(environment("XDG_RUNTIME_DIR")) / socket;
  std::error_code error;
  return std::filesystem::exists(socket, error);
}

// ":0", ":1.0" and "unix:0" are local displays served through /tmp/.X11-unix; any other
// (a remote host, an SSH forward) is left to the X client library to judge.
bool x11DisplayReachable(const std::string& display) {
  const auto colon = display.rfind(':');
  if (colon == std::string::npos) return false;
  const std::string host = display.substr(0, colon);
  if (!host.empty() && host != "unix") return true;
  const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
  std::error_code error;
  return !number.empty() &&
         std::filesystem::exists(std::filesystem::path("/tmp/.X11-unix") / ("X" + number), error);
}

}  // namespace

bool displayAvailable() {
  const std::string platform = environment("QT_QPA_PLATFORM");
  if (!platform.empty() && platform.rfind("xcb", 0) != 0 && platform.rfind("wayland", 0) != 0)
    return true;  // offscreen, vnc, ...: Qt needs no display server
  const std::string wayland = environment("WAYLAND_DISPLAY");
  if (!wayland.empty() && platform.rfind("xcb", 0) != 0 && waylandSocketExists(wayland))
    return true;
  const std::string x11 = environment("DISPLAY");
  return !x11.empty() && platform.rfind("wayland", 0) != 0 && x11DisplayReachable(x11);
}

}  // namespace drovik
