// The printers a search found, as the search dialog's table lists them: one row each in
// address order, a check box on the old models only (ticked at first), every cell a text a
// screen reader can say. And the plan rows of the ticked ones.
#pragma once

#include <vector>

#include "discovery/sweep.h"
#include "fleet/plan_writer.h"

class QStandardItemModel;

namespace drovik::fleet_ui {

enum FoundColumn { kAddressColumn, kModelColumn, kNameColumn, kLocationColumn, kSerialColumn };

// The column headers, and the rows of `found` in place of any earlier ones.
void labelFoundColumns(QStandardItemModel& model);
void showFound(QStandardItemModel& model, const std::vector<discovery::FoundPrinter>& found);

// The old printers whose box is ticked, in the table's order.
std::vector<Ipv4Octets> tickedPrinters(const QStandardItemModel& model);

// The plan rows of the ticked old printers. The rows are drafted from everything found, so
// that a ticked printer keeps the 8630-M it stands beside even when that is not ticked (it has
// no box) and row names stay as they would be for the whole site.
std::vector<fleet::PlanLine> planRowsOf(const std::vector<discovery::FoundPrinter>& found,
                                        const std::vector<Ipv4Octets>& ticked);

}  // namespace drovik::fleet_ui
