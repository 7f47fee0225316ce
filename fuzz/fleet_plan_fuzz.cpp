// Arbitrary bytes as a fleet plan file (UTF-8 or code page 932). A plan that is read is
// written back by the plan writer (UTF-8, fields quoted where they must be) and read again as
// the same rows; a refused plan says why in UTF-8 text.
#include <cstdint>
#include <string>

#include "fleet/fleet_plan.h"
#include "fleet/plan_writer.h"
#include "fuzz_support.h"
#include "ini/text_codec.h"
#include "transport/ipv4_address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace drovik;
  const auto rows = fleet::parsePlan(fuzz::asText({data, size}));
  if (!rows) {
    FUZZ_CHECK(!rows.message().empty() && ini::isValidUtf8(rows.message()), rows.message());
    return 0;
  }
  std::vector<fleet::PlanLine> lines;
  for (const fleet::PlanRow& row : *rows)
    lines.push_back({row.name, transport::dottedOctets(row.oldPrinter), row.target.text()});
  const std::string written = fleet::planFileText(lines);
  const auto again = fleet::parsePlan(written);
  FUZZ_CHECK(again.isOk(), again.message() + "\n" + written);
  FUZZ_CHECK(again->size() == rows->size(), written);
  for (std::size_t i = 0; i < rows->size(); ++i) {
    const fleet::PlanRow& row = (*rows)[i];
    const fleet::PlanRow& read = (*again)[i];
    FUZZ_CHECK(read.name == row.name && read.oldPrinter == row.oldPrinter &&
                   read.target.text() == row.target.text(),
               written);
  }
  return 0;
}
