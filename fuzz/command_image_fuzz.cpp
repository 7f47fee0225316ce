// Arbitrary bytes as a command file given to the dump: the listing is readable text, and a
// file found well formed has the shape of a command.
#include <algorithm>
#include <cstdint>

#include "command/image_dump.h"
#include "command/record_layout.h"
#include "fuzz_support.h"
#include "utf8_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace drovik;
  const std::span<const std::uint8_t> bytes(data, size);
  const ImageInspection inspection = InspectCommandImage(bytes);
  FUZZ_CHECK(fuzz::isWellFormedUtf8(inspection.listing), inspection.listing);
  if (inspection.wellFormed) {
    const auto& terminator = layout::kTerminator;
    FUZZ_CHECK(size >= layout::kHeaderSize + terminator.size() && size <= layout::kMaxImageSize &&
                   std::equal(terminator.begin(), terminator.end(), bytes.end() - 4),
               inspection.listing);
  }
  return 0;
}
