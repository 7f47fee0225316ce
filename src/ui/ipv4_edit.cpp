#include "ui/ipv4_edit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>
#include <functional>

#include "ui/message_boxes.h"

namespace drovik::ui {

namespace {

constexpr int kMaxDigits = 3;

// Up to three digits; full-width digits (typed with the input method on) become half-width.
// A value above 255 is let in as Intermediate, so that the box can say why it becomes 255
// instead of swallowing the key without a word.
class OctetValidator final : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int& /*pos*/) const override {
    if (input.size() > kMaxDigits) return Invalid;
    for (QChar& c : input) {
      if (c >= QChar(0xFF10) && c <= QChar(0xFF19)) c = QChar(u'0' + (c.unicode() - 0xFF10));
      if (c < u'0' || c > u'9') return Invalid;
    }
    return input.toInt() <= Ipv4Edit::kMaxOctet ? Acceptable : Intermediate;
  }
};

// Hands the operator's change on, with the text before it, once the line edit has finished
// the event that made it (key, paste, drop, input method), so that a correction of the text
// never runs inside the line edit's own change handling.
class OctetBox final : public QLineEdit {
 public:
  using AfterEdit = std::function<void(const QString& before)>;
  OctetBox(QWidget* parent, AfterEdit afterEdit)
      : QLineEdit(parent), afterEdit_(std::move(afterEdit)) {
    connect(this, &QLineEdit::textEdited, this, [this] { edited_ = true; });
  }

 protected:
  bool event(QEvent* event) override {
    // The line edit sends itself events while it handles one (input-method queries): the
    // change belongs to the outermost one.
    if (depth_++ == 0) before_ = text();
    const bool handled = QLineEdit::event(event);
    if (--depth_ == 0 && edited_) {
      edited_ = false;
      afterEdit_(before_);
    }
    return handled;
  }

 private:
  AfterEdit afterEdit_;
  QString before_;
  int depth_ = 0;
  bool edited_ = false;
};

QString octetTooLargeMessage(const QString& caption, const QString& typed) {
  return QStringLiteral("%1：%2 は 0 から 255 までの範囲を超えています。\n255 にしました。")
      .arg(caption, typed);
}

}  // namespace

Ipv4Edit::Ipv4Edit(const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption) {
  setObjectName(objectName);
  setAccessibleName(caption);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  for (int i = 0; i < 4; ++i) {
    if (i > 0) row->addWidget(new QLabel(QStringLiteral("."), this));
    auto* box = new OctetBox(this, [this, i](const QString& before) { operatorEdited(i, before); });
    box->setObjectName(QStringLiteral("%1_%2").arg(objectName).arg(i + 1));
    box->setAccessibleName(QStringLiteral("%1 第%2").arg(caption).arg(i + 1));
    box->setValidator(new OctetValidator(box));
    box->setInputMethodHints(Qt::ImhDigitsOnly);
    box->setAlignment(Qt::AlignCenter);
    // Three digits and room for a stored fourth, not the line edit's usual twenty characters.
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    box->installEventFilter(this);
    row->addWidget(box);
    boxes_[i] = box;
  }
  row->addStretch();
  setFocusProxy(boxes_[0]);
}

Ipv4Edit::Octets Ipv4Edit::octets() const {
  Octets octets{};
  for (int i = 0; i < 4; ++i) octets[i] = boxes_[i]->text().toInt();  // blank reads 0
  return octets;
}

void Ipv4Edit::setOctets(const Octets& octets) {
  for (int i = 0; i < 4; ++i) boxes_[i]->setText(QString::number(octets[i]));
}

void Ipv4Edit::operatorEdited(int index, const QString& before) {
  QLineEdit* box = boxes_[index];
  const QString typed = box->text();
  if (typed.toInt() > kMaxOctet) {
    box->setText(QString::number(kMaxOctet));
    Q_EMIT edited();
    messageBoxes().warn(this, octetTooLargeMessage(caption_, typed));
    // The operator retypes the octet where it was corrected.
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    return;
  }
  Q_EMIT edited();
  // Only a digit added last moves on, not Backspace on a longer stored octet.
  if (typed.size() == kMaxDigits && before.size() < kMaxDigits &&
      box->cursorPosition() == kMaxDigits)
    moveTo(index + 1);
}

void Ipv4Edit::moveTo(int index) {
  if (index >= 4) return;
  boxes_[index]->setFocus(Qt::TabFocusReason);
  boxes_[index]->selectAll();
}

bool Ipv4Edit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  for (int i = 0; i < 4; ++i) {
    if (watched != boxes_[i]) continue;
    if (key->text() == QStringLiteral(".")) {
      moveTo(i + 1);
      return true;
    }
    if (key->key() == Qt::Key_Backspace && boxes_[i]->text().isEmpty() && i > 0) {
      boxes_[i - 1]->setFocus(Qt::OtherFocusReason);
      boxes_[i - 1]->end(false);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace drovik::ui
