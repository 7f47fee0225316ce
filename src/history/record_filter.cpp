#include "history/record_filter.h"

#include <array>
#include <string_view>

#include "history/history_time.h"
#include "ini/name_index.h"

namespace drovik::history {
namespace {

constexpr std::array<std::string_view, 2> kAddressedKinds = {kSpoolerTargetPrefix,
                                                             kNetworkTargetPrefix};

bool targetMatches(const std::string& target, const std::string& wanted) {
  if (target == wanted) return true;
  for (const std::string_view kind : kAddressedKinds)
    if (target.size() > kind.size() && target.starts_with(kind) &&
        std::string_view(target).substr(kind.size()) == wanted)
      return true;
  return false;
}

}  // namespace

bool RecordFilter::matches(const Record& record) const {
  if (profile && !ini::NameEqual{}(record.profile, *profile)) return false;
  if (target && !targetMatches(record.target, *target)) return false;
  if (operation && record.operation != *operation) return false;
  if (since) {
    const auto time = parseTimePoint(record.time);
    if (!time || *time < *since) return false;
  }
  return true;
}

std::vector<std::string> RecordFilter::lineTexts() const {
  std::vector<std::string> texts;
  for (const auto* field : {&profile, &target, &operation})
    if (*field && !(*field)->empty()) texts.push_back(encodedText(**field));
  return texts;
}

}  // namespace drovik::history
