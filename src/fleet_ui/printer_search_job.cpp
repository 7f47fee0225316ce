#include "fleet_ui/printer_search_job.h"

#include <QString>
#include <QStringList>

#include "discovery/spooler_queues.h"
#include "transport/cups_route.h"
#include "ui/qt_text.h"

namespace drovik::fleet_ui {

std::vector<std::string> searchWords(const std::string& text) {
  std::vector<std::string> words;
  // simplified() folds every Unicode blank, so an ideographic space separates words too.
  for (const QString& word : qt(text).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts))
    words.push_back(utf8(word));
  return words;
}

SearchOutcome runSearch(const SearchRequest& request, SearchProgress& progress) {
  SearchOutcome outcome;
  discovery::QueueLister queues = request.queues;
  if (!queues)
    queues = [&progress] {
      transport::RunControl listing(transport::kListLimit, progress.control);
      return discovery::spoolerQueues(listing);
    };
  auto addresses = discovery::sweepAddresses(request.words, queues);
  if (!addresses) {
    outcome.refusal = addresses.message();
    return outcome;
  }
  outcome.addressNotes = std::move(addresses->notes);
  progress.named = addresses->addresses.size();
  progress.resolved = true;
  outcome.report =
      discovery::sweep(addresses->addresses, request.options, progress.control, &progress.counters);
  return outcome;
}

}  // namespace drovik::fleet_ui
