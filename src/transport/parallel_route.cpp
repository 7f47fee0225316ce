#include "transport/parallel_route.h"

#include "transport/batch_runner.h"
#include "transport/generated_files.h"
#include "transport/transport_messages.h"

namespace drovik::transport {

ParallelRoute::ParallelRoute(std::filesystem::path programDir,
                             std::vector<std::filesystem::path> devices)
    : programDir_(std::move(programDir)), devices_(std::move(devices)) {}

SendOutcome ParallelRoute::send(std::span<const std::uint8_t> image, RunControl& control) {
  const auto failed = [](const Status& why) {
    return SendOutcome{false, std::string(kParallelFailedMessage), why.message()};
  };
  auto commandFile = writeCommandFile(programDir_, image);
  if (!commandFile) return failed(commandFile.status());
  auto batch = writeGeneratedText(programDir_, kParallelBatchName, parallelBatchText(*commandFile));
  if (!batch) return failed(batch.status());
  if (Status copied = runBatchFile(*batch, {programDir_, devices_}, control); !copied)
    return failed(copied);
  return {true, std::string(kParallelSentMessage), {}};
}

}  // namespace drovik::transport
