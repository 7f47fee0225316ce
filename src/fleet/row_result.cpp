#include "fleet/row_result.h"

#include "transport/ipv4_address.h"

namespace drovik::fleet {

RowResult RowResult::pending(const PlanRow& row) {
  RowResult result;
  result.line = row.line;
  result.name = row.name;
  result.oldPrinter = transport::dottedOctets(row.oldPrinter);
  result.target = row.target.text();
  return result;
}

bool RowResult::isFor(const PlanRow& row) const {
  return name == row.name && oldPrinter == transport::dottedOctets(row.oldPrinter) &&
         target == row.target.text();
}

const StepResult* RowResult::failedStep() const {
  for (const StepResult& step : steps)
    if (step.outcome == StepOutcome::Failed) return &step;
  return nullptr;
}

const char* stepLabel(Step step) {
  switch (step) {
    case Step::Fetch:
      return "取得";
    case Step::Register:
      return "登録";
    case Step::Migrate:
      return "移行";
    case Step::Command:
      return "コマンド作成";
    case Step::Send:
      break;
  }
  return "送信";
}

}  // namespace drovik::fleet
