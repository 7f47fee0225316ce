// drovik: the desktop program. Keeps its profile files beside the program (or in the user's
// data folder when that is not writable), or opens the folder of --data-dir.
#include <QApplication>
#include <QMessageBox>
#include <iostream>
#include <memory>
#include <string_view>

#include "app/app_options.h"
#include "app/pelmora_app.h"
#include "app/program_icon.h"
#include "program_version.h"
#include "ui/message_boxes.h"

int main(int argc, char** argv) {
  // The version needs no display and no other option to be right.
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--version") {
      std::cout << "drovik " << drovik::kProgramVersion << '\n' << std::flush;
      return std::cout ? 0 : 1;
    }
  }
  auto options = drovik::parseAppOptions(argc, argv);
  if (!options) {
    std::cerr << "drovik: " << options.message() << '\n' << drovik::kAppUsage;
    return 2;
  }
  if (options->help) {
    std::cout << drovik::kAppUsage << std::flush;
    return std::cout ? 0 : 1;
  }
  if (!drovik::displayAvailable()) {
    std::cerr << "drovik: 画面に接続できません（DISPLAY / WAYLAND_DISPLAY）。"
                 "画面のない環境では drovik-cli を使ってください。\n";
    return 1;
  }
  // The program's own folder keeps the profiles, unless --data-dir names others; beside a
  // folder opened read-only it takes what the sends remember and write.
  auto own = options->dataDir && !options->readOnly
                 ? drovik::Result<std::filesystem::path>(*options->dataDir)
                 : drovik::defaultProgramDirectory();
  std::unique_ptr<drovik::CPelmoraApp> app;
  if (own) {
    const auto ownPaths = drovik::StorePaths::inDirectory(*own);
    app = std::make_unique<drovik::CPelmoraApp>(
        options->dataDir ? drovik::StorePaths::inDirectory(*options->dataDir) : ownPaths,
        options->readOnly ? drovik::StoreAccess::ReadOnly : drovik::StoreAccess::ReadWrite,
        ownPaths);
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("drovik"));
  QApplication::setApplicationDisplayName(QStringLiteral("Drovik"));
  QApplication::setDesktopFileName(QStringLiteral("drovik"));
  QApplication::setWindowIcon(drovik::programIcon());
  if (!app) {
    drovik::ui::messageBoxes().warn(nullptr, QString::fromStdString(own.message()));
    return 1;
  }
  return app->run(options->fleetPlan);
}
