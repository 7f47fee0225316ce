#include "app/app_fixture.h"

#include <QTest>

#include "support/store_writes.h"

namespace drovik::test {

bool FakeSettingsEditor::editSettings(ProfileModel& model, QWidget*, const Save& save) {
  ++opened;
  lastUserName0 = model.values.userName[0];
  if (edit) edit(model);
  return answerOk && save();
}

QString enabledButtons(const QWidget& window) {
  QStringList on;
  for (const char* name : {"registerButton", "deleteButton", "changeButton", "listButton",
                           "migrateButton", "sendButton", "generateButton", "quitButton"})
    if (window.findChild<QPushButton*>(name)->isEnabled())
      on << QString::fromLatin1(name).remove("Button");
  return on.join(' ');
}

void clickRowOf(QWidget& window, int row) {
  auto* list = window.findChild<QTreeWidget*>("profileList");
  const QRect rect = list->visualItemRect(list->topLevelItem(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

AppFixture::AppFixture() : service(StorePaths::inDirectory(dir.path())) { reopenWindow(); }

AppFixture::~AppFixture() = default;

void AppFixture::addProfile(int slot, const std::string& name, const std::string& modelType,
                            bool allIncluded, const std::string& userName1) {
  ProfileModel profile;
  profile.flags.state.fill(allIncluded ? 1 : 0);
  profile.recomputeCheckFlagTexts();
  if (!userName1.empty()) profile.setUserName(0, userName1);
  profile.markAllForWriting();
  const ProfileStore& store = service.store();
  if (!test::writeIndexEntry(store, slot, name, modelType) ||
      !test::saveSection(store, profile, name))
    QFAIL("the test profile could not be written");
}

void AppFixture::reopenWindow() {
  window = std::make_unique<CPelmoraDlg>(service, model);
  window->show();
}

QPushButton* AppFixture::button(const char* name) const {
  return window->findChild<QPushButton*>(name);
}

QTreeWidget* AppFixture::list() const { return window->findChild<QTreeWidget*>("profileList"); }

int AppFixture::rowOf(const std::string& name) const {
  for (int row = 0; row < list()->topLevelItemCount(); ++row)
    if (list()->topLevelItem(row)->text(0).toStdString() == name) return row;
  return -1;
}

void AppFixture::clickRow(int row) { clickRowOf(*window, row); }

void AppFixture::doubleClickRow(int row) {
  const QRect rect = list()->visualItemRect(list()->topLevelItem(row));
  // A double-click is a click followed by the second press.
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
  QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
}

std::string AppFixture::selectedName() const {
  const auto items = list()->selectedItems();
  return items.isEmpty() ? std::string() : items.constFirst()->text(0).toStdString();
}

std::string AppFixture::indexBytes() const {
  return std::filesystem::exists(dir / "R_MAIN.INI") ? readFile(dir / "R_MAIN.INI") : "";
}

std::string AppFixture::settingsBytes() const {
  return std::filesystem::exists(dir / "RSETTING.INI") ? readFile(dir / "RSETTING.INI") : "";
}

}  // namespace drovik::test
