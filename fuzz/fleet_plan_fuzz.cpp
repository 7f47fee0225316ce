// Arbitrary bytes as a fleet plan file (UTF-8 or code page 932). A plan that is read is
// written back as a plan of its own (UTF-8, every field quoted) and read again as the same
// rows; a refused plan says why in UTF-8 text.
#include <cstdint>
#include <string>

#include "fleet/fleet_plan.h"
#include "fuzz_support.h"
#include "ini/text_codec.h"
#include "transport/ipv4_address.h"

namespace {

std::string csvField(std::string_view field) {
  std::string out = "\"";
  for (char c : field) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace drovik;
  const auto rows = fleet::parsePlan(fuzz::asText({data, size}));
  if (!rows) {
    FUZZ_CHECK(!rows.message().empty() && ini::isValidUtf8(rows.message()), rows.message());
    return 0;
  }
  std::string written = "name,old_printer,new_target\r\n";
  for (const fleet::PlanRow& row : *rows)
    written += csvField(row.name) + "," + transport::dottedOctets(row.oldPrinter) + "," +
               csvField(row.target.text()) + "\r\n";
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
