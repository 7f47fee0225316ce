#include "fleet_ui/printer_search_table.h"

#include <QStandardItemModel>
#include <algorithm>

#include "discovery/plan_draft.h"
#include "discovery/sweep_targets.h"
#include "transport/ipv4_address.h"
#include "ui/qt_text.h"

namespace drovik::fleet_ui {
namespace {

// Where a row keeps its printer's address, as addressValue gives it.
constexpr int kAddressRole = Qt::UserRole + 1;

QStandardItem* cell(const std::string& text) {
  auto* item = new QStandardItem(qt(text));
  item->setData(qt(text), Qt::AccessibleTextRole);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  item->setToolTip(qt(text));
  return item;
}

}  // namespace

void labelFoundColumns(QStandardItemModel& model) {
  model.setColumnCount(5);
  model.setHorizontalHeaderLabels({QStringLiteral("アドレス"), QStringLiteral("機種"),
                                   QStringLiteral("名前"), QStringLiteral("設置場所"),
                                   QStringLiteral("シリアル番号")});
}

void showFound(QStandardItemModel& model, const std::vector<discovery::FoundPrinter>& found) {
  model.setRowCount(0);
  for (const discovery::FoundPrinter& printer : found) {
    auto* address = cell(transport::dottedOctets(printer.address));
    address->setData(static_cast<qulonglong>(discovery::addressValue(printer.address)),
                     kAddressRole);
    // Only an old model can be migrated: the others are listed to show they were seen.
    if (printer.model.kind == discovery::PrinterModel::Kind::Old) {
      address->setFlags(address->flags() | Qt::ItemIsUserCheckable);
      address->setCheckState(Qt::Checked);
    }
    model.appendRow({address, cell(discovery::modelText(printer.model)), cell(printer.name()),
                     cell(printer.location()), cell(printer.serial())});
  }
}

std::vector<Ipv4Octets> tickedPrinters(const QStandardItemModel& model) {
  std::vector<Ipv4Octets> ticked;
  for (int row = 0; row < model.rowCount(); ++row) {
    const QStandardItem* address = model.item(row, kAddressColumn);
    if (address->isCheckable() && address->checkState() == Qt::Checked)
      ticked.push_back(discovery::addressOf(
          static_cast<std::uint32_t>(address->data(kAddressRole).toULongLong())));
  }
  return ticked;
}

std::vector<fleet::PlanLine> planRowsOf(const std::vector<discovery::FoundPrinter>& found,
                                        const std::vector<Ipv4Octets>& ticked) {
  auto rows = discovery::draftPlan(found, {});
  std::erase_if(rows, [&](const discovery::DraftRow& row) {
    return std::find(ticked.begin(), ticked.end(), row.oldPrinter) == ticked.end();
  });
  return discovery::planLines(rows);
}

}  // namespace drovik::fleet_ui
