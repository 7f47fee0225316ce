#include "ui/wait_box.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/dialog_runner.h"

namespace drovik::ui {

namespace {
constexpr int kBoxPollMs = 30;
constexpr int kBriefPollMs = 5;
constexpr int kBriefWaitMs = 150;
}  // namespace

WaitBox::WaitBox(const QString& text, std::function<bool()> finished, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      finished_(std::move(finished)),
      timer_(new QTimer(this)) {
  setObjectName("waitBox");
  setModal(true);
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

  connect(timer_, &QTimer::timeout, this, &WaitBox::poll);
  timer_->start(kBoxPollMs);
}

void WaitBox::poll() {
  if (!finished_()) {
    Q_EMIT workStillRunning();
    return;
  }
  timer_->stop();
  accept();
}

void WaitBox::keyPressEvent(QKeyEvent* event) {
  // Return and Escape would close a dialog; the box closes only when the work has ended.
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

void WaitBox::closeEvent(QCloseEvent* event) {
  if (finished_())
    event->accept();
  else
    event->ignore();
}

QString folderBusyText() {
  return QStringLiteral("ほかのプログラムが設定ファイルを使用しています。お待ちください…");
}

bool waitBriefly(const std::function<bool()>& finished) {
  if (finished()) return true;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (finished()) loop.quit();
  });
  poll.start(kBriefPollMs);
  QTimer::singleShot(kBriefWaitMs, &loop, &QEventLoop::quit);
  // A click meanwhile must not start another operation under this one: it is delivered later.
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  return finished();
}

void waitShowingBox(QWidget* parent, const QString& text, const std::function<bool()>& finished) {
  if (waitBriefly(finished)) return;
  WaitBox box(text, finished, parent);
  runModal(box);
  // A replaced runner may return before the box closed itself: the wait goes on all the same,
  // without blocking the event loop.
  while (!waitBriefly(finished)) {
  }
}

}  // namespace drovik::ui
