#include "transfer_ui/dlg_proc.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "transport/transport_messages.h"
#include "ui/dialog_runner.h"

namespace drovik::transfer_ui {

namespace {
constexpr int kPollMs = 30;
}

CDlgProc::CDlgProc(std::function<bool()> finished, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      finished_(std::move(finished)),
      timer_(new QTimer(this)) {
  setObjectName("waitBox");
  setModal(true);
  const QString text = QString::fromUtf8(kConnectingMessage.data(),
                                         static_cast<qsizetype>(kConnectingMessage.size()));
  setAccessibleName(text);
  // Without a title bar the box needs a border of its own to stand out from the window.
  auto* frame = new QFrame(this);
  frame->setObjectName("waitFrame");
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setFrameShadow(QFrame::Raised);
  auto* label = new QLabel(text, frame);
  label->setObjectName("waitLabel");
  label->setAccessibleName(text);
  label->setAlignment(Qt::AlignCenter);
  auto* inner = new QVBoxLayout(frame);
  inner->setContentsMargins(36, 24, 36, 24);
  inner->addWidget(label);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(frame);

  connect(timer_, &QTimer::timeout, this, &CDlgProc::poll);
  timer_->start(kPollMs);
}

void CDlgProc::poll() {
  if (!finished_()) return;
  timer_->stop();
  accept();
}

void CDlgProc::keyPressEvent(QKeyEvent* event) {
  // Return and Escape would close a dialog; the box closes only when the transfer has ended.
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void CDlgProc::closeEvent(QCloseEvent* event) {
  if (finished_())
    event->accept();
  else
    event->ignore();
}

void showWaitBox(CDlgProc& box) { drovik::ui::runModal(box); }

}  // namespace drovik::transfer_ui
