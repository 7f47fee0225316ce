#include "editor/setting_dlg.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QVariant>
#include <QWheelEvent>
#include <algorithm>

#include "editor/check_tree.h"
#include "editor/interface_page.h"
#include "editor/printer_info_retrieval.h"
#include "editor/tree_slots.h"
#include "editor/user_name_page.h"
#include "editor/user_page.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"

namespace drovik::editor {
namespace {

namespace cat = catalogue;

// Dialog layout in dialog units.
constexpr int kDialogWidth = 399;
constexpr int kDialogHeight = 258;
constexpr int kMarginUnits = 7;
constexpr int kTreeWidth = 153;
constexpr int kTreeHeight = 197;
constexpr int kPageLeft = kMarginUnits + kTreeWidth + kMarginUnits;

constexpr int kPageStep = 200;  // pixels
constexpr int kWheelStep = 10;  // pixels per wheel turn
// Set on a page once the dialog scrolls it by the wheel over any of its controls.
constexpr char kWheelWatched[] = "drovikWheelWatched";

QString confirmationOf(const SlotPage& page) {
  const auto& nodes = cat::checkNodes();
  std::string scope;
  switch (page.kind) {
    case PageKind::UserName:
      scope = std::string(nodes[cat::kSelectUserNode].label) + "と" +
              std::string(nodes[cat::kUserNameSettingNode].label);
      break;
    case PageKind::User:
      scope = cat::userCaption(page.user);
      break;
    case PageKind::Interface:
      scope = std::string(cat::groups()[cat::kInterfaceGroup].label);
      break;
  }
  return qt(scope + "を初期値にします。");
}

}  // namespace

CDlgSetting::CDlgSetting(ProfileModel& model, PrinterInfoRetrieval* retrieval, QWidget* parent)
    : QDialog(parent), model_(model), retrieval_(retrieval), snapshot_(model.text), units_(font()) {
  setObjectName(QStringLiteral("CDlgSetting"));
  setWindowTitle(QStringLiteral("設定"));
  setAccessibleName(windowTitle());

  tree_ = new CheckTree(this);
  tree_->setAccessibleName(windowTitle());
  tree_->setGeometry(units_.rect(kMarginUnits, kMarginUnits, kTreeWidth, kTreeHeight));
  tree_->itemOf(0)->setExpanded(true);

  pageArea_ = new QWidget(this);
  pageArea_->setObjectName(QStringLiteral("pageArea"));
  scrollBar_ = new QScrollBar(Qt::Vertical, this);
  scrollBar_->setObjectName(QStringLiteral("pageScrollBar"));
  scrollBar_->setAccessibleName(QStringLiteral("ページのスクロール"));
  scrollBar_->setRange(0, kUserPageScrollMax);
  scrollBar_->setSingleStep(1);
  scrollBar_->setPageStep(kPageStep);
  scrollBar_->installEventFilter(this);
  connect(scrollBar_, &QScrollBar::valueChanged, this, [this] { movePage(); });

  userNamePage_ = new CDlgUserName(snapshot_, units_, pageArea_);
  for (int u = 0; u < cat::kUserCount; ++u)
    userPages_[u] = new CDlgUser(u, snapshot_, units_, pageArea_);
  interfacePage_ = new CDlgInterFace(snapshot_, units_, pageArea_);
  // The first user page tells how wide the page area must be; the others follow when shown.
  userPages_[0]->ensureBuilt();
  for (SettingsPage* page :
       {static_cast<SettingsPage*>(userNamePage_), static_cast<SettingsPage*>(userPages_[0]),
        static_cast<SettingsPage*>(interfacePage_)}) {
    page->hide();
    watchWheel(*page);
  }
  for (int u = 1; u < cat::kUserCount; ++u) userPages_[u]->hide();
  fillPages();

  buildButtons();
  const int pageWidth =
      std::max({userNamePage_->width(), userPages_[0]->width(), interfacePage_->width(),
                units_.x(kDialogWidth - kPageLeft) - scrollBar_->sizeHint().width()});
  const int height = units_.y(kDialogHeight);
  pageArea_->setGeometry(units_.x(kPageLeft), 0, pageWidth, height);
  pageArea_->installEventFilter(this);
  scrollBar_->setGeometry(pageArea_->geometry().right() + 1, 0, scrollBar_->sizeHint().width(),
                          height);
  setFixedSize(scrollBar_->geometry().right() + 1, height);

  for (int slot = 0; slot < kSlotCount; ++slot)
    tree_->setTicked(slot, model_.flags.state[nodeOfSlot(slot)] == 1);
  model_.refreshAndSnapshotCheckFlagTexts();

  connect(tree_, &CheckTree::slotSelected, this, &CDlgSetting::showPageOf);
  tree_->selectSlot(0);
  tree_->setFocus();
}

CDlgSetting::~CDlgSetting() = default;

void CDlgSetting::buildButtons() {
  struct Button {
    const char* name;
    const char* caption;
    int x, y, width;
    void (CDlgSetting::*action)();
  };
  const Button buttons[] = {
      {"fetchButton", "プリンタ情報取得", 11, 211, 64, &CDlgSetting::fetchPrinterInfo},
      {"defaultsButton", "初期値に戻す", 91, 211, 64, &CDlgSetting::restoreDefaults},
      {"okButton", "OK", 11, 233, 64, nullptr},
      {"cancelButton", "キャンセル", 91, 233, 61, &CDlgSetting::reject},
  };
  for (const Button& b : buttons) {
    auto* button = new QPushButton(QString::fromUtf8(b.caption), this);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setAccessibleName(button->text());
    button->setAutoDefault(false);
    button->setGeometry(units_.rect(b.x, b.y, b.width, 14));
    if (b.action)
      connect(button, &QPushButton::clicked, this, b.action);
    else
      connect(button, &QPushButton::clicked, this, [this] { storeAll(); });
    if (!b.action) button->setDefault(true);
    if (b.action == &CDlgSetting::fetchPrinterInfo) {
      fetchButton_ = button;
      button->setEnabled(retrieval_ != nullptr);
    }
  }
}

void CDlgSetting::fillPages() {
  userNamePage_->fillFromProfile(model_.values);
  for (CDlgUser* page : userPages_) page->fillFromProfile(model_.values);
  interfacePage_->fillFromProfile(model_.values);
}

void CDlgSetting::watchWheel(QWidget& page) {
  page.setProperty(kWheelWatched, true);
  page.installEventFilter(this);
  for (QWidget* child : page.findChildren<QWidget*>()) child->installEventFilter(this);
}

void CDlgSetting::showPageOf(int slot) {
  if (shown_) shown_->hide();
  shown_ = nullptr;
  if (slot < 0) return;
  const SlotPage where = pageOfSlot(slot);
  SettingsPage* page = where.kind == PageKind::UserName ? static_cast<SettingsPage*>(userNamePage_)
                       : where.kind == PageKind::User
                           ? static_cast<SettingsPage*>(userPages_[where.user])
                           : static_cast<SettingsPage*>(interfacePage_);
  page->ensureBuilt();
  if (!page->property(kWheelWatched).toBool()) watchWheel(*page);
  // A user page reaches below its last group, so that the ESC/P group can reach the top.
  if (where.kind == PageKind::User)
    page->resize(pageArea_->width(),
                 std::max(page->height(), kUserPageScrollMax + pageArea_->height()));
  else
    page->resize(pageArea_->width(), std::max(page->height(), pageArea_->height()));
  shown_ = page;
  {
    const QSignalBlocker blocker(scrollBar_);
    scrollBar_->setRange(0, where.kind == PageKind::User ? kUserPageScrollMax : 0);
    scrollBar_->setValue(where.offset);
  }
  movePage();
  page->show();
}

void CDlgSetting::movePage() {
  if (shown_) shown_->move(0, -scrollBar_->value());
}

void CDlgSetting::scrollTo(int position) { scrollBar_->setValue(position); }

void CDlgSetting::wheelScroll(int delta) {
  // A turn away from the operator moves the page toward its top, as everywhere on the desktop.
  if (delta > 0) scrollTo(scrollPosition() - kWheelStep);
  if (delta < 0) scrollTo(scrollPosition() + kWheelStep);
}

int CDlgSetting::scrollPosition() const { return scrollBar_->value(); }
int CDlgSetting::scrollMaximum() const { return scrollBar_->maximum(); }

bool CDlgSetting::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel) return QDialog::eventFilter(watched, event);
  // A focused list or spin box takes the wheel for itself, as on the desktop; everywhere else
  // on the page the wheel scrolls the page.
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget && widget->hasFocus() &&
      (qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSpinBox*>(widget)))
    return false;
  wheelScroll(static_cast<QWheelEvent*>(event)->angleDelta().y());
  return true;
}

void CDlgSetting::wheelEvent(QWheelEvent* event) {
  wheelScroll(event->angleDelta().y());
  event->accept();
}

bool CDlgSetting::storeAll() {
  // An OK that did not close leaves the write flags as they were, so that the next OK flags
  // again exactly the keys that differ from the opening values: a retry after a failed save
  // writes the same keys, and one after taking back an edit does not write that key.
  const ValueWriteFlags valueWrite = model_.valueWrite;
  const CheckFlagWriteFlags flagWrite = model_.flagWrite;
  // Every page stores, even after a refusal, so that the operator sees every message at once.
  bool stored = userNamePage_->storeToProfile(model_);
  for (CDlgUser* page : userPages_) stored = page->storeToProfile(model_) && stored;
  stored = interfacePage_->storeToProfile(model_) && stored;
  for (int slot = 0; slot < kSlotCount; ++slot)
    model_.flags.state[nodeOfSlot(slot)] = tree_->isTicked(slot) ? 1 : 0;
  model_.recomputeCheckFlagTexts();
  if (stored && (!save_ || save_())) {
    accept();
    return true;
  }
  model_.valueWrite = valueWrite;
  model_.flagWrite = flagWrite;
  return false;
}

void CDlgSetting::restoreDefaults() {
  const int slot = tree_->currentSlot();
  if (slot < 0) return;
  const SlotPage where = pageOfSlot(slot);
  if (!ui::messageBoxes().confirm(this, confirmationOf(where))) return;
  switch (where.kind) {
    case PageKind::UserName:
      userNamePage_->resetControls();
      break;
    case PageKind::User:
      userPages_[where.user]->resetControls();
      break;
    case PageKind::Interface:
      interfacePage_->resetControls();
      break;
  }
}

void CDlgSetting::fetchPrinterInfo() {
  if (!retrieval_) return;
  if (retrieval_->retrieve(model_, this)) fillPages();
  // The script held the typed password: it goes whatever the retrieval did.
  retrieval_->discardScript();
}

}  // namespace drovik::editor
