#include "transfer_ui/dlg_send_other.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "transfer_ui/dialog_parts.h"
#include "transfer_ui/send_flow.h"
#include "transport/ipv4_address.h"
#include "transport/transport_messages.h"
#include "ui/accessibility.h"
#include "ui/ipv4_edit.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"
#include "ui/wait_box.h"

namespace drovik::transfer_ui {

CDlgSendOther::CDlgSendOther(const ProfileStore& store, std::span<const std::uint8_t> image,
                             TransportServices services, QWidget* parent)
    : QDialog(parent), store_(store), image_(image), services_(std::move(services)) {
  setObjectName("sendOtherDialog");
  setWindowTitle(QStringLiteral("その他の送信方法"));

  auto* parallelGroup = new QGroupBox(QStringLiteral("パラレルから送信"), this);
  parallelGroup->setObjectName("parallelGroup");
  auto* parallelButton = makeButton(QStringLiteral("送信"), "parallelSendButton", parallelGroup);
  parallelButton->setAccessibleDescription(parallelGroup->title());
  auto* parallelRow = new QHBoxLayout(parallelGroup);
  parallelRow->addStretch();
  parallelRow->addWidget(parallelButton);

  auto* networkGroup = new QGroupBox(QStringLiteral("ネットワークから送信"), this);
  networkGroup->setObjectName("networkGroup");
  const QString addressCaption = QStringLiteral("ターゲットプリンタのＩＰアドレス");
  auto* addressLabel = new QLabel(addressCaption, networkGroup);
  address_ = new drovik::ui::Ipv4Edit("addressField", addressCaption, networkGroup);
  addressLabel->setBuddy(address_);
  auto* networkButton = makeButton(QStringLiteral("送信"), "networkSendButton", networkGroup);
  networkButton->setAccessibleDescription(networkGroup->title());
  auto* networkColumn = new QVBoxLayout(networkGroup);
  networkColumn->addWidget(addressLabel);
  auto* networkRow = new QHBoxLayout;
  networkRow->addWidget(address_);
  networkRow->addStretch();
  networkRow->addWidget(networkButton);
  networkColumn->addLayout(networkRow);

  auto* cancelButton = makeButton(QStringLiteral("キャンセル"), "cancelButton", this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(parallelGroup);
  layout->addWidget(networkGroup);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  const auto remembered = store_.sendAddress();
  address_->setOctets(remembered ? *remembered : Ipv4Octets{});
  drovik::ui::nameControlsAfterCaptions(*this);

  connect(parallelButton, &QPushButton::clicked, this, &CDlgSendOther::sendParallel);
  connect(networkButton, &QPushButton::clicked, this, &CDlgSendOther::sendNetwork);
  connect(cancelButton, &QPushButton::clicked, this, &CDlgSendOther::reject);
}

void CDlgSendOther::sendParallel() {
  if (!drovik::ui::messageBoxes().confirm(this, qt(kConfirmParallelQuestion))) return;
  if (deliverShowingWaitBox(this, store_, Target::parallel(), image_, services_)) accept();
}

void CDlgSendOther::sendNetwork() {
  const Ipv4Octets address = address_->octets();
  // Remembered at once, also when it is refused or the operator cancels below.
  if (Status saved = drovik::ui::runInBackground(this, drovik::ui::folderBusyText(),
                                                 [&] { return store_.setSendAddress(address); });
      !saved)
    drovik::ui::messageBoxes().warn(this, QString::fromStdString(saved.message()));
  if (isEmptyAddress(address)) {
    drovik::ui::messageBoxes().warn(this, qt(kEnterAddressMessage));
    return;
  }
  if (Status usable = checkAddress(address); !usable) {
    drovik::ui::messageBoxes().warn(this, qt(usable.message()));
    return;
  }
  if (!drovik::ui::messageBoxes().confirm(this, qt(kConfirmNetworkQuestion))) return;
  if (deliverShowingWaitBox(this, store_, Target::network(address), image_, services_)) accept();
}

}  // namespace drovik::transfer_ui
