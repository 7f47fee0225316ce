#include "app/pelmora_dlg.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <algorithm>
#include <array>
#include <utility>

#include "app/about_dlg.h"
#include "app/compare_dlg.h"
#include "app/history_dlg.h"
#include "app/operation_hooks.h"
#include "app/profile_files_watcher.h"
#include "app/program_icon.h"
#include "history/recorder.h"
#include "model/profile_registry.h"
#include "service/profile_service.h"
#include "ui/accessibility.h"
#include "ui/dialog_runner.h"
#include "ui/message_boxes.h"
#include "ui_pelmora_dlg.h"

namespace drovik {

namespace {

enum ListColumn { kNameColumn, kInitialUserColumn, kUserNameColumn, kModelTypeColumn };
// The narrowest each column gets; wider when its heading needs more in the current font.
constexpr std::array<int, 4> kColumnWidths = {165, 80, 80, 80};

}  // namespace

CPelmoraDlg::CPelmoraDlg(ProfileService& service, ProfileModel& model,
                         std::optional<Result<ProfileSlotTable>> firstRead, QWidget* parent)
    : QDialog(parent), service_(service), model_(model), ui_(new Ui::CPelmoraDlg) {
  ui_->setupUi(this);
  setWindowIcon(programIcon());
  setWindowFlag(Qt::WindowMinimizeButtonHint);
  if (readOnly())
    setWindowTitle(windowTitle() + QStringLiteral("（読み取り専用） - ") +
                   QString::fromStdString(service_.store().paths().programDir.string()));
  setUpList();
  setUpHelpMenu();
  ui::nameControlsAfterCaptions(*this);

  connect(ui_->registerButton, &QPushButton::clicked, this, &CPelmoraDlg::registerProfile);
  connect(ui_->deleteButton, &QPushButton::clicked, this, &CPelmoraDlg::deleteProfile);
  connect(ui_->changeButton, &QPushButton::clicked, this, &CPelmoraDlg::changeSettings);
  connect(ui_->listButton, &QPushButton::clicked, this, &CPelmoraDlg::showSettingsList);
  connect(ui_->migrateButton, &QPushButton::clicked, this, &CPelmoraDlg::migrateProfile);
  connect(ui_->sendButton, &QPushButton::clicked, this, &CPelmoraDlg::sendCommand);
  connect(ui_->generateButton, &QPushButton::clicked, this, &CPelmoraDlg::generateCommandFile);
  connect(ui_->quitButton, &QPushButton::clicked, this, &CPelmoraDlg::accept);

  filesWatcher_ = new ProfileFilesWatcher(service_.store().paths(), this);
  connect(filesWatcher_, &ProfileFilesWatcher::changed, this, &CPelmoraDlg::refreshFromFiles);
  if (firstRead)
    showSlots(*firstRead, std::nullopt);
  else
    reloadList();
}

CPelmoraDlg::~CPelmoraDlg() = default;

void CPelmoraDlg::setUpList() {
  QTreeWidget* list = ui_->profileList;
  QHeaderView* header = list->header();
  header->setSectionsMovable(false);
  int total = 0;
  for (int column = 0; column < static_cast<int>(kColumnWidths.size()); ++column) {
    const int width = std::max(kColumnWidths[column], header->sectionSizeHint(column));
    list->setColumnWidth(column, width);
    total += width;
  }
  list->setMinimumWidth(total + 2 * list->frameWidth() +
                        style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  // Any change of selection, by mouse or keyboard, updates the buttons, so that they always
  // match the row they act on.
  connect(list, &QTreeWidget::itemSelectionChanged, this, &CPelmoraDlg::updateButtonStates);
  connect(list, &QTreeWidget::itemDoubleClicked, this, [this] { changeSettings(); });
  list->viewport()->installEventFilter(this);
}

bool CPelmoraDlg::eventFilter(QObject* watched, QEvent* event) {
  // A click below the last row clears the selection, as in a desktop list view.
  if (watched == ui_->profileList->viewport() && event->type() == QEvent::MouseButtonPress) {
    const auto* click = static_cast<QMouseEvent*>(event);
    if (!ui_->profileList->itemAt(click->position().toPoint())) ui_->profileList->clearSelection();
  }
  return QDialog::eventFilter(watched, event);
}

void CPelmoraDlg::setUpHelpMenu() {
  // A Linux window manager offers no system menu to extend: the items sit in the window's own
  // menu and in its context menu.
  auto* compare = new QAction(QStringLiteral("設定比較..."), this);
  compare->setObjectName("compareAction");
  connect(compare, &QAction::triggered, this, &CPelmoraDlg::showComparison);
  auto* openFolder = new QAction(QStringLiteral("フォルダーを開く..."), this);
  openFolder->setObjectName("openFolderAction");
  connect(openFolder, &QAction::triggered, this, &CPelmoraDlg::openFolder);
  auto* history = new QAction(QStringLiteral("履歴..."), this);
  history->setObjectName("historyAction");
  connect(history, &QAction::triggered, this, &CPelmoraDlg::showHistory);
  auto* fleet = new QAction(QStringLiteral("フリート移行..."), this);
  fleet->setObjectName("fleetAction");
  connect(fleet, &QAction::triggered, this, [this] { showFleet(); });
  auto* about = new QAction(QStringLiteral("バージョン情報 Drovik(&A)..."), this);
  about->setObjectName("aboutAction");
  about->setIcon(programIcon());
  connect(about, &QAction::triggered, this, &CPelmoraDlg::showAbout);
  auto* menuBar = new QMenuBar(this);
  menuBar->setObjectName("menuBar");
  QMenu* help = menuBar->addMenu(QStringLiteral("ヘルプ(&H)"));
  help->setObjectName("helpMenu");
  help->addAction(compare);
  help->addAction(openFolder);
  help->addAction(history);
  help->addAction(fleet);
  help->addSeparator();
  help->addAction(about);
  layout()->setMenuBar(menuBar);
  addAction(compare);
  addAction(openFolder);
  addAction(history);
  addAction(fleet);
  addAction(about);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CPelmoraDlg::setSettingsEditor(SettingsEditor* editor) {
  editor_ = editor;
  updateButtonStates();
}

void CPelmoraDlg::setCommandSender(CommandSender* sender) { sender_ = sender; }

void CPelmoraDlg::reloadList(const std::optional<std::string>& select) {
  filesWatcher_->markRead();
  showSlots(service_.readSlots(), select);
}

CPelmoraDlg::OperationScope::OperationScope(CPelmoraDlg& window) : window_(window) {
  ++window_.operations_;
}

CPelmoraDlg::OperationScope::~OperationScope() {
  // Still within the operation, so that no refresh runs under the box.
  if (window_.operations_ == 1) window_.showHistoryWarnings();
  if (--window_.operations_ > 0 || !std::exchange(window_.refreshPending_, false)) return;
  // The operation's own reload may have read the change already.
  if (window_.filesWatcher_->changedSinceRead()) window_.refreshFromFiles();
}

void CPelmoraDlg::refreshFromFiles() {
  if (operations_ > 0) {
    refreshPending_ = true;
    Q_EMIT refreshPutOff();
    return;
  }
  // A failure to read is shown in a box: no second refresh runs under it.
  const OperationScope operation(*this);
  // The operator's focus stays where it was (selecting a row would move it to the list).
  const QPointer<QWidget> focused = QApplication::focusWidget();
  reloadList(selectedName());
  if (focused) focused->setFocus();
}

QWidget* CPelmoraDlg::dialogInFront() {
  QWidget* modal = QApplication::activeModalWidget();
  return modal ? modal : this;
}

void CPelmoraDlg::showSlots(const Result<ProfileSlotTable>& slots,
                            const std::optional<std::string>& select) {
  QTreeWidget* list = ui_->profileList;
  const QSignalBlocker blocker(list);
  list->clear();
  if (!slots) {
    updateButtonStates();
    showFailure(slots.message());
    return;
  }
  // The same name as the index matches it, so that a name typed in other letter case finds
  // the row it overwrote.
  const int selectedSlot = select ? findSlotByName(*slots, *select) : -1;
  QTreeWidgetItem* selected = nullptr;
  for (int i = 0; i < static_cast<int>(slots->size()); ++i) {
    const ProfileSlot& slot = (*slots)[i];
    if (!slot.registered()) continue;
    auto* item = new QTreeWidgetItem(list);
    item->setText(kNameColumn, QString::fromStdString(slot.name));
    item->setText(kInitialUserColumn, QString::fromStdString(slot.initialUserText));
    item->setText(kUserNameColumn, QString::fromStdString(slot.userName));
    item->setText(kModelTypeColumn, QString::fromStdString(slot.modelType));
    if (i == selectedSlot) selected = item;
  }
  selectRow(selected);
}

void CPelmoraDlg::selectRow(QTreeWidgetItem* item) {
  QTreeWidget* list = ui_->profileList;
  {
    const QSignalBlocker blocker(list);
    list->clearSelection();
    if (item) {
      list->setCurrentItem(item);
      item->setSelected(true);
      list->scrollToItem(item);
      list->setFocus();
    }
  }
  updateButtonStates();
}

std::optional<std::string> CPelmoraDlg::selectedName() const {
  const auto items = ui_->profileList->selectedItems();
  if (items.isEmpty()) return std::nullopt;
  return items.constFirst()->text(kNameColumn).toStdString();
}

std::optional<std::string> CPelmoraDlg::selectedModelType() const {
  const auto items = ui_->profileList->selectedItems();
  if (items.isEmpty()) return std::nullopt;
  return items.constFirst()->text(kModelTypeColumn).toStdString();
}

bool CPelmoraDlg::readOnly() const { return service_.store().readOnly(); }

void CPelmoraDlg::updateButtonStates() {
  const auto modelType = selectedModelType();
  const bool any = modelType.has_value();
  const bool oldModel = any && *modelType != catalogue::kModelM;
  const bool changes = !readOnly();
  ui_->registerButton->setEnabled(changes);
  ui_->deleteButton->setEnabled(any && changes);
  ui_->changeButton->setEnabled(oldModel && editor_ && changes);
  ui_->listButton->setEnabled(any);
  ui_->migrateButton->setEnabled(oldModel && changes);
  ui_->sendButton->setEnabled(any);
  ui_->generateButton->setEnabled(any);
}

void CPelmoraDlg::showAbout() {
  const OperationScope operation(*this);
  CAboutDlg about(this);
  ui::runModal(about);
}

void CPelmoraDlg::showComparison() {
  const OperationScope operation(*this);
  // The files as they are now, not as the list last showed them.
  const auto slots = service_.readSlots();
  if (!slots) return showFailure(slots.message());
  std::vector<std::string> names;
  for (const ProfileSlot& slot : *slots)
    if (slot.registered()) names.push_back(slot.name);
  CDlgCompare compare(service_, std::move(names), selectedName().value_or(""), this);
  ui::runModal(compare);
}

void CPelmoraDlg::showFailure(const std::string& message) {
  ui::messageBoxes().warn(dialogInFront(), QString::fromStdString(message));
}

void CPelmoraDlg::showHistoryWarnings() {
  std::string text;
  for (const std::string& warning : history::takeWarnings())
    text += (text.empty() ? "" : "\n") + warning;
  if (!text.empty()) showFailure(text);
}

void CPelmoraDlg::showHistory() {
  const OperationScope operation(*this);
  const history::HistoryFile file(service_.store().paths().lockFolder());
  auto contents = ui::runInBackground(this, QStringLiteral("履歴を読み込んでいます…"),
                                      [&file] { return file.read(); });
  if (!contents) return showFailure(contents.message());
  CDlgHistory dialog(std::move(*contents), this);
  ui::runModal(dialog);
}

}  // namespace drovik
