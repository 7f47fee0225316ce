#include "transfer_ui/dlg_send.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

#include "transfer_ui/dialog_parts.h"
#include "transfer_ui/dlg_send_other.h"
#include "transfer_ui/send_flow.h"
#include "transport/transport_messages.h"
#include "ui/accessibility.h"
#include "ui/dialog_runner.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"
#include "ui/wait_box.h"

namespace drovik::transfer_ui {
namespace {

// Says `text` in the empty list, whole (the list sizes itself to its items only), and again as
// its tooltip; an empty text ends that.
void sayInList(QComboBox& list, const QString& text) {
  list.setPlaceholderText(text);
  list.setToolTip(text);
  QStyleOptionComboBox option;
  option.initFrom(&list);
  const QSize content(list.fontMetrics().horizontalAdvance(text), list.fontMetrics().height());
  list.setMinimumWidth(
      text.isEmpty()
          ? 0
          : list.style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, &list).width());
}

}  // namespace

CDlgSend::CDlgSend(const ProfileStore& store, std::span<const std::uint8_t> image,
                   TransportServices services, QWidget* parent)
    : QDialog(parent),
      store_(store),
      image_(image.begin(), image.end()),
      services_(std::move(services)),
      printerList_(new QComboBox(this)),
      portField_(new QLineEdit(this)) {
  setObjectName("sendDialog");
  setWindowTitle(QStringLiteral("設定送信"));

  auto* group = new QGroupBox(QStringLiteral("プリンタドライバを指定して送信"), this);
  group->setObjectName("printerGroup");
  printerList_->setObjectName("printerList");
  printerList_->setEditable(false);
  printerList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  printerList_->setMinimumContentsLength(28);
  portField_->setObjectName("portField");
  portField_->setReadOnly(true);
  auto* form = new QFormLayout(group);
  auto* printerLabel = new QLabel(QStringLiteral("プリンタドライバ"), group);
  printerLabel->setBuddy(printerList_);
  auto* portLabel = new QLabel(QStringLiteral("ポート"), group);
  portLabel->setBuddy(portField_);
  form->addRow(printerLabel, printerList_);
  form->addRow(portLabel, portField_);

  auto* sendButton = makeButton(QStringLiteral("送信"), "sendButton", this);
  auto* otherButton = makeButton(QStringLiteral("その他の送信方法"), "otherButton", this);
  auto* cancelButton = makeButton(QStringLiteral("キャンセル"), "cancelButton", this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(otherButton);
  buttons->addStretch();
  buttons->addWidget(sendButton);
  buttons->addWidget(cancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  drovik::ui::nameControlsAfterCaptions(*this);

  connect(printerList_, &QComboBox::currentIndexChanged, this, &CDlgSend::selectPrinter);
  connect(sendButton, &QPushButton::clicked, this, &CDlgSend::send);
  connect(otherButton, &QPushButton::clicked, this, &CDlgSend::sendOther);
  connect(cancelButton, &QPushButton::clicked, this, &CDlgSend::reject);

  // A slow print server must not hold up the dialog: the list comes when it comes.
  printerList_->setEnabled(false);
  sayInList(*printerList_, QStringLiteral("プリンタの一覧を取得しています…"));
  listing_ = std::make_unique<PrinterListing>(services_.listPrinters, [this](PrinterList printers) {
    fillPrinterList(std::move(printers));
  });
}

void CDlgSend::fillPrinterList(PrinterList printers) {
  printerList_->setEnabled(true);
  if (!printers) {
    // The operator sees why the list is empty instead of an unexplained blank.
    sayInList(*printerList_, QString::fromStdString(printers.message()));
    return;
  }
  sayInList(*printerList_, QString());
  printers_ = std::move(*printers);
  if (printers_.size() > kMaxListedPrinters) printers_.resize(kMaxListedPrinters);
  // Filling is no pick of the operator's: nothing is remembered for it.
  const QSignalBlocker quiet(printerList_);
  for (const auto& printer : printers_) printerList_->addItem(QString::fromStdString(printer.name));
  printerList_->setCurrentIndex(-1);

  const auto remembered = store_.printerDriverName();
  if (!remembered) return;
  for (std::size_t row = 0; row < printers_.size(); ++row) {
    if (printers_[row].name == *remembered) {
      printerList_->setCurrentIndex(static_cast<int>(row));
      portField_->setText(QString::fromStdString(printers_[row].port));
      return;
    }
  }
}

void CDlgSend::selectPrinter(int index) {
  if (index < 0 || index >= static_cast<int>(printers_.size())) return;
  const PrinterEntry& printer = printers_[static_cast<std::size_t>(index)];
  portField_->setText(QString::fromStdString(printer.port));
  // The index file's lock may be held by another copy: wait for it off the GUI thread.
  const std::string name = printer.name;
  if (Status saved = drovik::ui::runInBackground(this, drovik::ui::folderBusyText(),
                                                 [&] { return store_.setPrinterDriverName(name); });
      !saved)
    drovik::ui::messageBoxes().warn(this, QString::fromStdString(saved.message()));
}

void CDlgSend::send() {
  const int index = printerList_->currentIndex();
  if (index < 0 || index >= static_cast<int>(printers_.size())) {
    drovik::ui::messageBoxes().warn(this, qt(kSelectPrinterMessage));
    return;
  }
  if (!drovik::ui::messageBoxes().confirm(this, qt(kConfirmSpoolQuestion))) return;
  const Target target = Target::spooler(printers_[static_cast<std::size_t>(index)].name);
  // A job the spooler refused has been said; the dialog stays for another printer or route.
  if (deliverShowingWaitBox(this, store_, target, image_, services_)) accept();
}

void CDlgSend::sendOther() {
  CDlgSendOther other(store_, image_, services_, this);
  if (drovik::ui::runModal(other) == QDialog::Accepted) accept();
}

}  // namespace drovik::transfer_ui
