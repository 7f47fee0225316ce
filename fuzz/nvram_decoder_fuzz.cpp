// Arbitrary bytes as both NVRAM images: the refusals by size, then a command and settings
// list built from what was decoded.
#include <cstdint>

#include "fuzz_support.h"
#include "nvram/nvram_decoder.h"
#include "profile_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace drovik;
  const std::span<const std::uint8_t> image(data, size);
  const bool tooLarge = size > nvram::kMaxImageSize;

  ProfileModel model;
  const auto all = nvram::decodeAllImage(model, image);
  FUZZ_CHECK(all.isOk() == (!tooLarge && size >= nvram::kAllImageReadSize), all.message());
  const Status network = nvram::decodeNetworkImage(model, image);
  FUZZ_CHECK(network.isOk() == (!tooLarge && size >= nvram::kNetworkImageReadSize),
             network.message());
  // One command per input, in the model the input's length picks: building and checking
  // both cost three times the decoding.
  fuzz::checkCommandAndReport(model, size % 2 == 0 ? CommandVariant::Ghjk : CommandVariant::M);
  return 0;
}
