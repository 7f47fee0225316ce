// drovik: the desktop program. Keeps its profile files beside the program (or in the user's
// data folder when that is not writable).
#include <QApplication>
#include <QMessageBox>
#include <iostream>
#include <memory>
#include <string_view>

#include "app/pelmora_app.h"
#include "app/program_icon.h"
#include "program_version.h"
#include "ui/message_boxes.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::cout << "drovik " << drovik::kProgramVersion << '\n' << std::flush;
    return std::cout ? 0 : 1;
  }
  if (!drovik::displayAvailable()) {
    std::cerr << "drovik: 画面に接続できません（DISPLAY / WAYLAND_DISPLAY）。"
                 "画面のない環境では drovik-cli を使ってください。\n";
    return 1;
  }
  auto directory = drovik::defaultProgramDirectory();
  std::unique_ptr<drovik::CPelmoraApp> app;
  if (directory)
    app = std::make_unique<drovik::CPelmoraApp>(drovik::StorePaths::inDirectory(*directory));

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("drovik"));
  QApplication::setApplicationDisplayName(QStringLiteral("Drovik"));
  QApplication::setDesktopFileName(QStringLiteral("drovik"));
  QApplication::setWindowIcon(drovik::programIcon());
  if (!app) {
    drovik::ui::messageBoxes().warn(nullptr, QString::fromStdString(directory.message()));
    return 1;
  }
  return app->run();
}
