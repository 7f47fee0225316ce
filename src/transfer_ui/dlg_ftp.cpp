#include "transfer_ui/dlg_ftp.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "nvram/nvram_files.h"
#include "transfer_ui/dialog_parts.h"
#include "transfer_ui/dlg_proc.h"
#include "transfer_ui/send_flow.h"
#include "transport/core_dumps.h"
#include "transport/ipv4_address.h"
#include "transport/transport_messages.h"
#include "ui/accessibility.h"
#include "ui/dialog_runner.h"
#include "ui/ipv4_edit.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"
#include "ui/wait_box.h"

namespace drovik::transfer_ui {

namespace {

QGroupBox* captionedRow(const QString& caption, const char* objectName, const QString& label,
                        QWidget* field, QWidget* parent) {
  auto* group = new QGroupBox(caption, parent);
  group->setObjectName(objectName);
  auto* labelWidget = new QLabel(label, group);
  labelWidget->setBuddy(field);
  field->setParent(group);
  auto* form = new QFormLayout(group);
  form->addRow(labelWidget, field);
  return group;
}

}  // namespace

CDlgFtp::CDlgFtp(const ProfileStore& store, TransportServices services, QWidget* parent)
    : QDialog(parent), store_(store), services_(std::move(services)) {
  setObjectName("retrievalDialog");
  setWindowTitle(QStringLiteral("プリンタ情報取得"));

  address_ = new drovik::ui::Ipv4Edit("addressField", QStringLiteral("ＩＰアドレス"), this);
  password_ = new QLineEdit(this);
  password_->setObjectName("passwordField");
  password_->setEchoMode(QLineEdit::Password);
  auto* addressGroup = captionedRow(QStringLiteral("ターゲットプリンタのＩＰアドレス入力"),
                                    "addressGroup", QStringLiteral("ＩＰアドレス"), address_, this);
  auto* passwordGroup = captionedRow(QStringLiteral("ログインパスワードの入力"), "passwordGroup",
                                     QStringLiteral("パスワード"), password_, this);

  // Enter anywhere runs the retrieval, as "取得" does.
  auto* getButton = makeButton(QStringLiteral("取得"), "getButton", this);
  getButton->setDefault(true);
  auto* cancelButton = makeButton(QStringLiteral("キャンセル"), "cancelButton", this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(getButton);
  buttons->addWidget(cancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(addressGroup);
  layout->addWidget(passwordGroup);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  const auto remembered = store_.retrievalAddress();
  address_->setOctets(remembered ? *remembered : Ipv4Octets{});
  drovik::ui::nameControlsAfterCaptions(*this);

  connect(getButton, &QPushButton::clicked, this, &CDlgFtp::retrieve);
  connect(cancelButton, &QPushButton::clicked, this, &CDlgFtp::reject);
}

void CDlgFtp::retrieve() {
  auto& boxes = drovik::ui::messageBoxes();
  const Ipv4Octets address = address_->octets();
  if (Status saved = drovik::ui::runInBackground(
          this, drovik::ui::folderBusyText(), [&] { return store_.setRetrievalAddress(address); });
      !saved)
    boxes.warn(this, QString::fromStdString(saved.message()));
  if (isEmptyAddress(address)) {
    boxes.warn(this, qt(kEnterAddressMessage));
    return;
  }
  if (Status usable = checkAddress(address); !usable) {
    boxes.warn(this, qt(usable.message()));
    return;
  }
  const std::string password = password_->text().toStdString();
  auto retrieveImages = services_.retrieve;
  // Handed over on the heap: GCC 12 takes the images' variant inside a future's result for an
  // object on the stack (-Wfree-nonheap-object).
  const auto result = runShowingWaitBox<std::unique_ptr<RetrievalResult>>(
      this, [retrieveImages, address, password](RunControl& control) {
        return std::make_unique<RetrievalResult>(retrieveImages(address, password, control));
      });
  boxes.warn(this, QString::fromStdString(result->outcome.message));
  if (!result->outcome.retrieved()) return;
  images_ = std::move(result->images);
  accept();
}

bool retrievePrinterInformation(ProfileModel& model, const ProfileStore& store, QWidget* parent,
                                const TransportServices& services) {
  transport::keepOutOfCoreDumps();
  CDlgFtp dialog(store, services, parent);
  if (drovik::ui::runModal(dialog) != QDialog::Accepted) return false;
  const auto messages = nvram::decodeRetrievedImages(model, dialog.retrievedImages());
  for (const auto& message : messages)
    drovik::ui::messageBoxes().warn(parent, QString::fromStdString(message));
  return true;
}

bool retrievePrinterInformation(ProfileModel& model, const ProfileStore& store, QWidget* parent) {
  return retrievePrinterInformation(model, store, parent,
                                    TransportServices::real(store.paths().programDir));
}

}  // namespace drovik::transfer_ui
