// A number box that only its spinner changes: the text cannot be typed into, but it looks
// like any editable box; each press of an arrow (or of the Up/Down keys) replaces the text by
// one step of the given rule.
#pragma once

#include <QAbstractSpinBox>
#include <functional>
#include <string>
#include <string_view>

namespace drovik::editor {

class StepperBox : public QAbstractSpinBox {
  Q_OBJECT

 public:
  using Step = std::function<std::string(std::string_view text, bool up)>;
  StepperBox(Step step, QWidget* parent);

  QString value() const;
  void showValue(const QString& text);  // without telling anyone
  void stepBy(int steps) override;

 Q_SIGNALS:
  void stepped(const QString& text);

 protected:
  StepEnabled stepEnabled() const override;

 private:
  Step step_;
};

}  // namespace drovik::editor
