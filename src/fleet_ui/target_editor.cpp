#include "fleet_ui/target_editor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

#include "transport/target.h"
#include "ui/ipv4_edit.h"

namespace drovik::fleet_ui {
namespace {

const QString kFtpChoice = QStringLiteral("ftp:");
const QString kParallelChoice = QStringLiteral("parallel");

}  // namespace

TargetEditor::TargetEditor(const QStringList& queues, QWidget* parent)
    : QWidget(parent),
      choice_(new QComboBox(this)),
      address_(new ui::Ipv4Edit(QStringLiteral("targetAddress"),
                                QStringLiteral("新しいプリンタのIPアドレス"), this)) {
  setAutoFillBackground(true);
  choice_->setObjectName("targetChoice");
  choice_->setAccessibleName(QStringLiteral("送信先"));
  for (const QString& queue : queues) choice_->addItem(QStringLiteral("cups:") + queue);
  choice_->addItem(kFtpChoice);
  choice_->addItem(kParallelChoice);
  // A screen reader names a list by the label whose buddy it is, not by its entry.
  auto* caption = new QLabel(QStringLiteral("送信先"), this);
  caption->setBuddy(choice_);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(caption);
  layout->addWidget(choice_, 1);
  layout->addWidget(address_);
  connect(choice_, &QComboBox::currentIndexChanged, this, &TargetEditor::kindChosen);
  setFocusProxy(choice_);
  kindChosen();
}

void TargetEditor::setTargetText(const QString& text) {
  auto target = transport::parseTarget(text.toStdString());
  if (target && target->kind == transport::Target::Kind::Network) {
    choice_->setCurrentText(kFtpChoice);
    address_->setOctets(
        {target->address[0], target->address[1], target->address[2], target->address[3]});
  } else if (target && target->kind == transport::Target::Kind::Spooler) {
    const QString item = QStringLiteral("cups:") + QString::fromStdString(target->queue);
    if (choice_->findText(item) < 0) choice_->insertItem(0, item);
    choice_->setCurrentText(item);
  } else if (target && target->kind == transport::Target::Kind::Parallel) {
    choice_->setCurrentText(kParallelChoice);
  } else {
    // Nothing usable yet: the queue the spooler lists first, or the address to be typed.
    choice_->setCurrentIndex(0);
  }
  kindChosen();
}

QString TargetEditor::targetText() const {
  if (choice_->currentText() != kFtpChoice) return choice_->currentText();
  const ui::Ipv4Edit::Octets octets = address_->octets();
  return kFtpChoice +
         QStringLiteral("%1.%2.%3.%4").arg(octets[0]).arg(octets[1]).arg(octets[2]).arg(octets[3]);
}

void TargetEditor::kindChosen() { address_->setVisible(choice_->currentText() == kFtpChoice); }

QWidget* TargetDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                      const QModelIndex&) const {
  return new TargetEditor(queues_, parent);
}

void TargetDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  static_cast<TargetEditor*>(editor)->setTargetText(index.data(Qt::EditRole).toString());
}

void TargetDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                  const QModelIndex& index) const {
  model->setData(index, static_cast<TargetEditor*>(editor)->targetText(), Qt::EditRole);
}

}  // namespace drovik::fleet_ui
