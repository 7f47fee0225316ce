#include "transport/command_file_route.h"

#include <string_view>

#include "files/atomic_file.h"

namespace drovik::transport {

SendOutcome CommandFileRoute::send(std::span<const std::uint8_t> image, RunControl& control) {
  control.reportProgress(0, image.size());
  const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
  if (Status written = writeFileAtomically(file_, bytes); !written)
    return SendOutcome::failed(written.message());
  control.reportProgress(image.size(), image.size());
  return SendOutcome::delivered({});
}

}  // namespace drovik::transport
