// CDlgSetting: the settings dialog. The tree on the left decides, node by node, what the
// printer command includes; selecting a node shows its page on the right, scrolled to the
// node's group by the dialog's own scroll bar. OK stores every page, reads the boxes back and
// runs the save action; the dialog stays open while any page refuses or the save fails.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

#include "editor/dialog_units.h"
#include "model/profile.h"

class QPushButton;
class QScrollBar;

namespace drovik::editor {

class CheckTree;
class SettingsPage;
class CDlgUserName;
class CDlgUser;
class CDlgInterFace;
class PrinterInfoRetrieval;

class CDlgSetting : public QDialog {
  Q_OBJECT

 public:
  // Opens on the model: builds the tree and the pages and fills them from the profile.
  // Without a retrieval, "プリンタ情報取得" is unavailable.
  CDlgSetting(ProfileModel& model, PrinterInfoRetrieval* retrieval, QWidget* parent = nullptr);
  ~CDlgSetting() override;

  // What OK runs once every page stored: true when it saved the model (it shows its own
  // failures). Without one, OK closes as soon as every page stored.
  void setSaveAction(std::function<bool()> save) { save_ = std::move(save); }

  // The buttons' actions, callable without exec().
  bool storeAll();  // OK: true when every page stored and saved; closes the dialog then
  void restoreDefaults();
  void fetchPrinterInfo();

  // Scrolling as the scroll bar and the mouse wheel do it.
  void scrollTo(int position);
  void wheelScroll(int delta);
  int scrollPosition() const;
  int scrollMaximum() const;

  CheckTree& tree() const { return *tree_; }
  CDlgUserName& userNamePage() const { return *userNamePage_; }
  CDlgUser& userPage(int user) const { return *userPages_[user]; }
  CDlgInterFace& interfacePage() const { return *interfacePage_; }
  SettingsPage* shownPage() const { return shown_; }
  QScrollBar& scrollBar() const { return *scrollBar_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void buildButtons();
  void showPageOf(int slot);
  void movePage();
  void fillPages();
  void watchWheel(QWidget& page);

  ProfileModel& model_;
  PrinterInfoRetrieval* retrieval_;
  std::function<bool()> save_;
  ProfileText snapshot_;  // the texts as the profile had them when the dialog opened
  DialogUnits units_;
  CheckTree* tree_ = nullptr;
  QWidget* pageArea_ = nullptr;
  QScrollBar* scrollBar_ = nullptr;
  CDlgUserName* userNamePage_ = nullptr;
  std::array<CDlgUser*, catalogue::kUserCount> userPages_{};
  CDlgInterFace* interfacePage_ = nullptr;
  SettingsPage* shown_ = nullptr;
  QPushButton* fetchButton_ = nullptr;
};

}  // namespace drovik::editor
